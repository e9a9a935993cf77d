// Start of the program with its windows: splash, data module, main window, event loop.
#pragma once

// Runs the windowed program; returns its exit status.
int runGui(int& argc, char** argv);

// Makes the layouts' 新細明體 and its relatives resolve to an installed Traditional Chinese
// Ming face (AR PL UMing TW) and sets it as the application font.
void setUpChineseFonts();

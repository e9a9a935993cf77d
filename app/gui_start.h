// Start of the program with its windows: splash, data module, main window, event loop.
#pragma once

class DataModule;

// Runs the windowed program; returns its exit status.
int runGui(int& argc, char** argv);

// Shows a warning box, once the statement being traced has ended, whenever the SQL trace file
// of `dm` cannot be written.
void showTraceFileProblems(DataModule& dm);

// Makes the layouts' 新細明體 and its relatives resolve to an installed Traditional Chinese
// Ming face (AR PL UMing TW) and sets it as the application font.
void setUpChineseFonts();

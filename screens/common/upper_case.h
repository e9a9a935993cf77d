// Edit boxes that turn every typed letter into a capital before the text changes, as the
// find boxes and the console's access box do.
#pragma once

class QLineEdit;

void setUpperCase(QLineEdit* edit);

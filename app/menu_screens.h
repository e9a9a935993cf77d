// The screens the main menu can open, by class name. A screen not listed here has not been
// built yet: its button stays disabled.
#pragma once

#include "screens/common/modal_opener.h"

#include <QString>

// The factory of screen `className` ("TFrmSY010"), empty when that screen is not built.
ScreenFactory screenFactory(const QString& className);
// Adds or replaces the factory of `className`; for the program's own list and for tests.
void registerScreen(const QString& className, ScreenFactory factory);

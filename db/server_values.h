// Reading the server's text form of a value into a Value of the column's kind.
#pragma once

#include "db/column.h"
#include "db/value.h"

class TextCodec;

// The value of `size` bytes at `text`, which the server sent for `column`. Texts are
// decoded with `codec`; numeric values become floating-point numbers; dates and times the
// server sent in a form we do not read ("infinity") are kept as text.
Value valueFromServer(const char* text, int size, const Column& column, const TextCodec& codec);

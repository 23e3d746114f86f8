// How the tuner turns a property's value into the text of its row, and a typed text back into a
// value. Both go by the property's type name, as the registry gives it.
#pragma once

#include "core/Values.h"

// The row's text: a string as it is, numbers in their text form, "true" or "" for a flag, the
// components of a point, rectangle or colour joined by ", ", "(no values)" for any other type.
// A missing value shows nothing.
CStr ValueText(const CStr& type, const CObject* value);

// Reads text as a value of the type into target (an object of that type). Only what a user can
// type is read: a string, a decimal number ("CFloat"), a decimal integer with an optional sign
// ("CInt", within 32 bits), a flag ("true" or "1", "" or "false" or "0"). False, with target
// untouched, for a text that does not read or a type that is not typed in.
bool ReadValue(const CStr& type, const CStr& text, CObject* target);

// Whether a row of this type takes the change of one of its sub-rows and is written on into its
// own owner.
bool PassesChangesUp(const CStr& type);

// Why a text typed for a row of this type was not read, in the user's words.
CStr WhyNotRead(const CStr& type);

// Why a composite value cannot be given to its owner ("" when it can): a colour's parts lie from
// 0 to 1, a font is named and from 1 to 500 pixels high.
CStr CheckValue(const CStr& type, const CObject* value);

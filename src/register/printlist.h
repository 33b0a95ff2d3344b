#pragma once

class Cursor;

// The print list is the properties whose `Print` flag is set.

// Puts the current property on the list (it may be on it already).
void putOnPrintList(Cursor &tEgyszeru);

// Empties the list and leaves the view as it was, on its first row.
void NyomtatasiListaTorles(Cursor &tEgyszeru);

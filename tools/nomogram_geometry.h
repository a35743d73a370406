#pragma once
// The nomogram's geometry now lives with the drawing code that the program
// shares with the generator; this name stays for the tests that read it.
#include "draw/nomogram_geometry.h"

// Key codes that more than one layer answers.
#pragma once

constexpr unsigned char kEscape = 27;  // the quit key, as GLUT's keyboard function reports it

// Key codes that more than one layer answers.
#pragma once

constexpr unsigned char kEscape = 27;  // the quit key, as GLUT's keyboard function reports it

// A letter key in lower case, so that a letter's two cases share one row or case; every other
// byte as it is.
inline unsigned char LowerCaseLetter(unsigned char key) {
    return key >= 'A' && key <= 'Z' ? static_cast<unsigned char>(key - 'A' + 'a') : key;
}

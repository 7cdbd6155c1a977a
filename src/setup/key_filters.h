#pragma once
// The two key filters of the entry boxes. Each takes the character code of a
// typed key (a KeyPress handler's KeyAscii) and changes it in place; 0 means
// that nothing is typed.

namespace setup {

// Lower-case letters a to z become capitals; every other code passes unchanged
// (accented letters and control keys among them).
void Cap(int& KeyAscii);

// Only digits and Backspace pass; every other code, Enter, Tab and Space
// among them, becomes 0.
void NumOnly(int& KeyAscii);

}  // namespace setup

#include "setup/key_filters.h"

namespace setup {

namespace {
constexpr int kBackspace = 8;
}  // namespace

void Cap(int& KeyAscii) {
    if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii = KeyAscii - 'a' + 'A';
}

void NumOnly(int& KeyAscii) {
    if (KeyAscii == kBackspace) return;
    if (KeyAscii < '0' || KeyAscii > '9') KeyAscii = 0;
}

}  // namespace setup

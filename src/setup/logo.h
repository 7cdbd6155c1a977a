#pragma once
// The pictures of the start-up: the maker's logo and the program's mark that
// the logo window shows, and the small county map of the start-up window.
// They are drawn here rather than shipped as files, so that no working folder
// can lack them.
#include <QImage>

namespace setup {

// The maker's logo, 1000 x 563 pixels.
QImage MakerLogo();
// The program's mark, 316 x 85 pixels, shown over the logo's lower right.
QImage ProgramMark();
// A map of the party state's counties, 137 x 135 pixels.
QImage CountyMapPicture();

}  // namespace setup

#pragma once
// The county map's design data: the picture of the party state's counties and
// one label rectangle per county. Both are generated from the Census Bureau's
// county outlines by tools/county_map/make_county_map.js into
// county_map_picture.cpp.
#include <QImage>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace scoring {

inline constexpr int kCountyMapWidth = 457;
inline constexpr int kCountyMapHeight = 451;
inline constexpr std::size_t kCountyLabels = 72;

// A county label: its name and its rectangle in twips within the picture box
// (15 twips to a pixel). The rectangle's centre lies inside the county.
struct CountyLabelRect {
    const char* name;
    int left, top, width, height;
};

// The labels in the map window's element order.
extern const std::array<CountyLabelRect, kCountyLabels> kCountyLabelRects;

// The picture row by row, top to bottom, as the lengths of alternating white
// and black runs; each row begins with a white run (of 0 when it starts
// black) and its runs add up to the picture's width.
extern const std::vector<std::uint16_t> kCountyMapRuns;

// The picture: white counties and surroundings, black borders and outline.
QImage CountyMapPicture();

}  // namespace scoring

#!/usr/bin/env node
// Draws the county map picture of the map window and places its 72 county
// labels, from the Census Bureau's cartographic county outlines as the npm
// package us-atlas carries them (counties-10m.json, 2017 edition).
//
// Usage: node tools/county_map/make_county_map.js [--counties data/county2.txt]
//            [--out src/scoring/county_map_picture.cpp] [--pbm preview.pbm]
//        node tools/county_map/make_county_map.js --check src/scoring/county_map_picture.cpp
//            (fails unless the file holds exactly what the tool makes now)
//
// The picture is 457 x 451 pixels of two colours: white inside the counties
// and around the state, black for the borders. Every pixel whose centre lies
// in a different county (or outside the state) than the pixel to its right or
// below it is black, so two 4-adjacent white pixels always belong to the same
// county and a 4-connected flood fill started in a county never leaves it.
// Islands off the shore are left out, and any white speck cut off from its
// county's main area (a sliver where borders cross) is made black, so the
// white falls into exactly 73 regions: one per county and the surroundings.
//
// The outlines are projected with the state's own transverse Mercator and
// stretched to the picture; the margins were chosen so that the centres of the
// five designed label rectangles lie deepest inside their counties.
//
// Each county gets a label rectangle, in twips within the picture box (15
// twips a pixel), centred on the white pixel of its region farthest from the
// region's edge; five counties keep the rectangles the window was designed
// with, and the tool fails when one of their centres does not lie well inside
// its own county.
//
// The output is C++ source: the picture as runs of white and black, row by
// row, and the label rectangles in label order.
'use strict';

const fs = require('fs');
const path = require('path');
const topojson = require('topojson-client');
const us = require('us-atlas/counties-10m.json');

const WIDTH = 457;
const HEIGHT = 451;
const TWIPS = 15;
const STATE_FIPS = '55';
const STATE_CODE = 'WI';

// Label order of the map window.
const LABEL_NAMES = [
  'Douglas', 'Bayfield', 'Burnett', 'Price', 'Washburn', 'Sawyer', 'Ashland', 'Iron',
  'Vilas', 'Polk', 'Barron', 'Rusk', 'Oneida', 'Forest', 'Florence', 'Marinette',
  'St. Croix', 'Dunn', 'Pierce', 'Chippewa', 'Taylor', 'Lincoln', 'Langlade', 'Clark',
  'Pepin', 'Eau Claire', 'Buffalo', 'Trempealeau', 'Marathon', 'Oconto', 'Jackson',
  'La Crosse', 'Waupaca', 'Adams', 'Juneau', 'Grant', 'Richland', 'Crawford', 'Vernon',
  'Shawano', 'Door', 'Menominee', 'Portage', 'Wood', 'Monroe', 'Fond Du Lac', 'Sheboygan',
  'Winnebago', 'Sauk', 'Waushara', 'Manitowoc', 'Calumet', 'Ozaukee', 'Milwaukee',
  'Racine', 'Kenosha', 'Green Lake', 'Marquette', 'Outagamie', 'Brown', 'Kewaunee', 'Rock',
  'Green', 'Dane', 'Waukesha', 'Washington', 'Dodge', 'Columbia', 'Lafayette', 'Iowa',
  'Walworth', 'Jefferson',
];

// The rectangles the window was designed with (twips: left, top, width, height).
const FIXED_RECTS = {
  0: [960, 480, 495, 615],     // Douglas
  41: [4560, 2760, 375, 135],  // Menominee
  53: [5640, 5760, 135, 375],  // Milwaukee
  55: [5400, 6480, 495, 135],  // Kenosha
  63: [3600, 5520, 855, 615],  // Dane
};

// Where the state's outline sits in the picture (pixels from each edge).
const MARGIN = {left: 2, right: 4, top: 2, bottom: 8};
// Wisconsin Transverse Mercator's central meridian: the state's own projection.
const CENTRAL_MERIDIAN = -90;

function parseArgs(argv) {
  const root = path.resolve(__dirname, '..', '..');
  const args = {
    counties: path.join(root, 'data', 'county2.txt'),
    out: path.join(root, 'src', 'scoring', 'county_map_picture.cpp'),
    pbm: null,
    check: null,
  };
  for (let i = 0; i < argv.length; i += 2) {
    const key = argv[i].replace(/^--/, '');
    if (!(key in args) || i + 1 >= argv.length) throw new Error(`unknown or incomplete option ${argv[i]}`);
    args[key] = argv[i + 1];
  }
  return args;
}

// The county names of the county table, "WI<Name>" in item 1.
function readCountyTable(file) {
  const names = [];
  for (const line of fs.readFileSync(file, 'latin1').split(/\r?\n/)) {
    const m = /^"([^"]*)"/.exec(line);
    if (m && m[1].startsWith(STATE_CODE)) names.push(m[1].slice(STATE_CODE.length));
  }
  return names;
}

// Spherical transverse Mercator, x east and y north, in radians of arc.
function project([lon, lat]) {
  const lambda = (lon - CENTRAL_MERIDIAN) * Math.PI / 180;
  const phi = lat * Math.PI / 180;
  const b = Math.cos(phi) * Math.sin(lambda);
  return [0.5 * Math.log((1 + b) / (1 - b)), Math.atan2(Math.tan(phi), Math.cos(lambda))];
}

function ringArea(ring) {
  let a = 0;
  for (let i = 0; i + 1 < ring.length; ++i) a += ring[i][0] * ring[i + 1][1] - ring[i + 1][0] * ring[i][1];
  return Math.abs(a / 2);
}

// The county outlines of the state, keyed by label element, projected into
// picture pixels.
function countyPolygons(tableNames) {
  const byName = new Map();
  for (const f of topojson.feature(us, us.objects.counties).features) {
    if (!f.id.startsWith(STATE_FIPS)) continue;
    byName.set(f.properties.name.toLowerCase(), f);
  }
  const lower = (s) => s.toLowerCase();
  if (tableNames.length !== LABEL_NAMES.length) throw new Error(`county table has ${tableNames.length} counties, not ${LABEL_NAMES.length}`);
  for (const name of tableNames) {
    if (!byName.has(lower(name))) throw new Error(`county ${name} of the table is not in us-atlas`);
    if (!LABEL_NAMES.some((l) => lower(l) === lower(name))) throw new Error(`county ${name} of the table has no label`);
  }
  const polygons = LABEL_NAMES.map((name) => {
    const f = byName.get(lower(name));
    if (!f) throw new Error(`label ${name} is not a county of us-atlas`);
    const parts = f.geometry.type === 'Polygon' ? [f.geometry.coordinates] : f.geometry.coordinates;
    // The islands off the shore are left out: the main part of each county
    // is the one that its label fills.
    const main = parts.reduce((a, b) => (ringArea(b[0]) > ringArea(a[0]) ? b : a));
    return [main.map((ring) => ring.map(project))];
  });
  let minX = Infinity, maxX = -Infinity, minY = Infinity, maxY = -Infinity;
  for (const parts of polygons) for (const rings of parts) for (const [x, y] of rings[0]) {
    minX = Math.min(minX, x); maxX = Math.max(maxX, x);
    minY = Math.min(minY, y); maxY = Math.max(maxY, y);
  }
  // Each axis fills the picture within the margins.
  const sx = (WIDTH - MARGIN.left - MARGIN.right) / (maxX - minX);
  const sy = (HEIGHT - MARGIN.top - MARGIN.bottom) / (maxY - minY);
  return polygons.map((parts) => parts.map((rings) => rings.map((ring) =>
    ring.map(([x, y]) => [MARGIN.left + (x - minX) * sx, MARGIN.top + (maxY - y) * sy]))));
}

// Which county each pixel centre lies in: label element, or -1 outside.
function rasterize(polygons) {
  const owner = new Int16Array(WIDTH * HEIGHT).fill(-1);
  polygons.forEach((parts, county) => {
    const edges = [];
    for (const rings of parts) for (const ring of rings)
      for (let i = 0; i + 1 < ring.length; ++i) edges.push([ring[i], ring[i + 1]]);
    for (let y = 0; y < HEIGHT; ++y) {
      const cy = y + 0.5;
      const xs = [];
      for (const [[x1, y1], [x2, y2]] of edges)
        if ((y1 <= cy) !== (y2 <= cy)) xs.push(x1 + (cy - y1) * (x2 - x1) / (y2 - y1));
      xs.sort((a, b) => a - b);
      for (let k = 0; k + 1 < xs.length; k += 2)
        for (let x = Math.max(0, Math.ceil(xs[k] - 0.5)); x < WIDTH && x + 0.5 < xs[k + 1]; ++x)
          owner[y * WIDTH + x] = county;
    }
  });
  return owner;
}

// The 4-connected white components: component number per pixel (-1 black)
// and each component's owner and size.
function components(black, owner) {
  const comp = new Int32Array(WIDTH * HEIGHT).fill(-1);
  const info = [];
  for (let start = 0; start < WIDTH * HEIGHT; ++start) {
    if (black[start] || comp[start] >= 0) continue;
    const id = info.length;
    const stack = [start];
    comp[start] = id;
    let size = 0;
    while (stack.length) {
      const p = stack.pop();
      ++size;
      const x = p % WIDTH, y = (p - x) / WIDTH;
      for (const [nx, ny] of [[x + 1, y], [x - 1, y], [x, y + 1], [x, y - 1]]) {
        if (nx < 0 || ny < 0 || nx >= WIDTH || ny >= HEIGHT) continue;
        const q = ny * WIDTH + nx;
        if (!black[q] && comp[q] < 0) { comp[q] = id; stack.push(q); }
      }
    }
    info.push({owner: owner[start], size});
  }
  return {comp, info};
}

function drawPicture(owner) {
  const black = new Uint8Array(WIDTH * HEIGHT);
  for (let y = 0; y < HEIGHT; ++y)
    for (let x = 0; x < WIDTH; ++x) {
      const o = owner[y * WIDTH + x];
      if ((x + 1 < WIDTH && owner[y * WIDTH + x + 1] !== o) || (y + 1 < HEIGHT && owner[(y + 1) * WIDTH + x] !== o))
        black[y * WIDTH + x] = 1;
    }
  // Only the largest white area of each county (and of the surroundings) stays.
  const {comp, info} = components(black, owner);
  const main = new Map();
  info.forEach((c, id) => {
    if (!main.has(c.owner) || info[main.get(c.owner)].size < c.size) main.set(c.owner, id);
  });
  const dropped = [];
  for (let p = 0; p < WIDTH * HEIGHT; ++p)
    if (comp[p] >= 0 && main.get(info[comp[p]].owner) !== comp[p]) black[p] = 1;
  info.forEach((c, id) => {
    if (main.get(c.owner) !== id) dropped.push(`${c.owner < 0 ? 'outside' : LABEL_NAMES[c.owner]} ${c.size}px`);
  });
  if (dropped.length) process.stderr.write(`white specks made black: ${dropped.join(', ')}\n`);
  for (let county = -1; county < LABEL_NAMES.length; ++county)
    if (!main.has(county)) throw new Error(`${county < 0 ? 'the surroundings have' : LABEL_NAMES[county] + ' has'} no white area`);
  return black;
}

// How far each white pixel of a county lies from the nearest pixel that is
// not white in that county (4-steps).
function depthMap(black, owner) {
  const depth = new Int32Array(WIDTH * HEIGHT).fill(-1);
  let frontier = [];
  for (let y = 0; y < HEIGHT; ++y)
    for (let x = 0; x < WIDTH; ++x) {
      const p = y * WIDTH + x;
      if (black[p]) { depth[p] = 0; frontier.push(p); continue; }
      if (x === 0 || y === 0 || x === WIDTH - 1 || y === HEIGHT - 1) { depth[p] = 1; }
    }
  for (let d = 1; frontier.length; ++d) {
    const next = [];
    for (const p of frontier) {
      const x = p % WIDTH, y = (p - x) / WIDTH;
      for (const [nx, ny] of [[x + 1, y], [x - 1, y], [x, y + 1], [x, y - 1]]) {
        if (nx < 0 || ny < 0 || nx >= WIDTH || ny >= HEIGHT) continue;
        const q = ny * WIDTH + nx;
        if (depth[q] < 0) { depth[q] = d; next.push(q); }
      }
    }
    frontier = next;
  }
  return depth;
}

function labelRects(black, owner) {
  const depth = depthMap(black, owner);
  const white = (x, y, county) => x >= 0 && y >= 0 && x < WIDTH && y < HEIGHT &&
    !black[y * WIDTH + x] && owner[y * WIDTH + x] === county;
  return LABEL_NAMES.map((name, county) => {
    if (FIXED_RECTS[county]) {
      const [l, t, w, h] = FIXED_RECTS[county];
      const cx = Math.floor((l + w / 2) / TWIPS), cy = Math.floor((t + h / 2) / TWIPS);
      // The centre and every pixel around it, so that no rounding of the
      // centre can leave the county.
      for (let dy = -1; dy <= 1; ++dy)
        for (let dx = -1; dx <= 1; ++dx)
          if (!white(cx + dx, cy + dy, county)) throw new Error(`the designed label of ${name} is not inside its county`);
      return FIXED_RECTS[county];
    }
    let best = -1, bx = 0, by = 0;
    for (let y = 0; y < HEIGHT; ++y)
      for (let x = 0; x < WIDTH; ++x)
        if (owner[y * WIDTH + x] === county && !black[y * WIDTH + x] && depth[y * WIDTH + x] > best) {
          best = depth[y * WIDTH + x]; bx = x; by = y;
        }
    // A square around that pixel, as large as fits in the county (at most 41 pixels a side).
    let half = 0;
    const fits = (r) => {
      for (let y = by - r; y <= by + r; ++y)
        for (let x = bx - r; x <= bx + r; ++x) if (!white(x, y, county)) return false;
      return true;
    };
    while (half < 20 && fits(half + 1)) ++half;
    return [(bx - half) * TWIPS, (by - half) * TWIPS, (2 * half + 1) * TWIPS, (2 * half + 1) * TWIPS];
  }).map((rect, county) => {
    const [l, t, w, h] = rect;
    if (!white(Math.floor((l + w / 2) / TWIPS), Math.floor((t + h / 2) / TWIPS), county))
      throw new Error(`the label of ${LABEL_NAMES[county]} is not inside its county`);
    return rect;
  });
}

// Row by row: the lengths of alternating white and black runs, white first
// (a row that starts black begins with a white run of 0).
function runs(black) {
  const out = [];
  for (let y = 0; y < HEIGHT; ++y) {
    let colour = 0, length = 0;
    for (let x = 0; x < WIDTH; ++x) {
      if (black[y * WIDTH + x] === colour) { ++length; continue; }
      out.push(length);
      colour = 1 - colour;
      length = 1;
    }
    out.push(length);
  }
  return out;
}

function cppSource(black, rects) {
  const r = runs(black);
  const lines = [];
  for (let i = 0; i < r.length; i += 20) lines.push('    ' + r.slice(i, i + 20).join(', ') + ',');
  const labels = rects.map(([l, t, w, h], i) =>
    `    {"${LABEL_NAMES[i]}", ${l}, ${t}, ${w}, ${h}},`);
  return `// Generated by tools/county_map/make_county_map.js from the Census Bureau's
// cartographic county outlines (us-atlas ${require('us-atlas/package.json').version}); do not edit.
#include "scoring/county_map_picture.h"

namespace scoring {

const std::array<CountyLabelRect, kCountyLabels> kCountyLabelRects = {{
${labels.join('\n')}
}};

const std::vector<std::uint16_t> kCountyMapRuns = {
${lines.join('\n')}
};

}  // namespace scoring
`;
}

function pbm(black) {
  const rowBytes = Math.ceil(WIDTH / 8);
  const body = Buffer.alloc(rowBytes * HEIGHT);
  for (let y = 0; y < HEIGHT; ++y)
    for (let x = 0; x < WIDTH; ++x)
      if (black[y * WIDTH + x]) body[y * rowBytes + (x >> 3)] |= 0x80 >> (x & 7);
  return Buffer.concat([Buffer.from(`P4\n${WIDTH} ${HEIGHT}\n`), body]);
}

function main() {
  const args = parseArgs(process.argv.slice(2));
  const polygons = countyPolygons(readCountyTable(args.counties));
  const owner = rasterize(polygons);
  const black = drawPicture(owner);
  const rects = labelRects(black, owner);
  const source = cppSource(black, rects);
  if (args.check) {
    if (fs.readFileSync(args.check, 'utf8') !== source) throw new Error(`${args.check} is not what the tool makes now`);
    process.stderr.write(`${args.check} is up to date\n`);
    return;
  }
  fs.writeFileSync(args.out, source);
  process.stderr.write(`wrote ${args.out}\n`);
  if (args.pbm) {
    fs.writeFileSync(args.pbm, pbm(black));
    process.stderr.write(`wrote ${args.pbm}\n`);
  }
}

try {
  main();
} catch (e) {
  process.stderr.write(`make_county_map: ${e.message}\n`);
  process.exit(1);
}


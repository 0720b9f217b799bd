// The result panels' font as the window draws them: DejaVu Sans at 7.5
// points, 10 pixels at 96 dots per inch (ui/main/result_panel.cpp). The
// advance widths of its printable ASCII characters, in units of 1/2048 em,
// are those of fonts-dejavu-core (web/dejavu_widths.py prints them).
#pragma once

#include <array>
#include <cmath>
#include <string_view>

namespace orvane::web {

inline constexpr double kPanelFontPixels = 10.0;
// A text line's step: ascent and descent of DejaVu Sans (1901 + 483 units)
// at 10 pixels, rounded up to whole pixels.
inline constexpr double kPanelLinePixels = 12.0;

inline constexpr std::array<short, 95> kDejaVuSans = {
    651,  821,  942,  1716, 1303, 1946, 1597, 563,  799,  799,  1024, 1716, 651,  739,  651,  690,
    1303, 1303, 1303, 1303, 1303, 1303, 1303, 1303, 1303, 1303, 690,  690,  1716, 1716, 1716, 1087,
    2048, 1401, 1405, 1430, 1577, 1294, 1178, 1587, 1540, 604,  604,  1343, 1141, 1767, 1532, 1612,
    1235, 1612, 1423, 1300, 1251, 1499, 1401, 2025, 1403, 1251, 1403, 799,  690,  799,  1716, 1024,
    1024, 1255, 1300, 1126, 1300, 1260, 721,  1300, 1298, 569,  569,  1186, 569,  1995, 1298, 1253,
    1300, 1300, 842,  1067, 803,  1298, 1212, 1675, 1212, 1212, 1075, 1303, 690,  1303, 1716};
inline constexpr std::array<short, 95> kDejaVuSansBold = {
    713,  934,  1067, 1716, 1425, 2052, 1786, 627,  936,  936,  1071, 1716, 778,  850,  778,  748,
    1425, 1425, 1425, 1425, 1425, 1425, 1425, 1425, 1425, 1425, 819,  819,  1716, 1716, 1716, 1188,
    2048, 1585, 1561, 1503, 1700, 1399, 1399, 1681, 1714, 762,  762,  1587, 1305, 2038, 1714, 1741,
    1501, 1741, 1577, 1475, 1397, 1663, 1585, 2259, 1579, 1483, 1485, 936,  748,  936,  1716, 1024,
    1024, 1382, 1466, 1214, 1466, 1389, 891,  1466, 1458, 702,  702,  1362, 702,  2134, 1458, 1407,
    1466, 1466, 1010, 1219, 979,  1458, 1335, 1892, 1321, 1335, 1192, 1458, 748,  1458, 1716};

// The width of `text` in whole pixels, as the window's font metrics give
// it; a character beyond ASCII counts as wide as a digit.
inline double panelTextPixels(std::string_view text, bool bold) {
  const auto& widths = bold ? kDejaVuSansBold : kDejaVuSans;
  long units = 0;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 32 && c < 127)
      units += widths[c - 32];
    else if ((c & 0xC0) != 0x80)  // the first byte of a character
      units += widths['0' - 32];
  }
  return std::round(static_cast<double>(units) * kPanelFontPixels / 2048.0);
}

}  // namespace orvane::web

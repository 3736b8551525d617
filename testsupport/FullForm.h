#pragma once

#include <string>

namespace orvik::testsupport {

// The text of a complete, valid port description: every port tab answered, `sourcePdos` Source and
// `sinkPdos` Sink PDOs, `sopSvids` SOP SVIDs with `modesPerSvid` fixed modes each. The largest
// file the form allows is FullPortForm(7, 7, 52, 6).
std::string FullPortForm(int sourcePdos = 7, int sinkPdos = 7, int sopSvids = 52, int modesPerSvid = 6);

// FullPortForm(5, 1, 1, 1) with Source PDOs of every supply type: 1 Fixed 5 V 3 A, 2 Fixed 9 V 3 A,
// 3 Variable 5 to 20 V 2 A, 4 Battery 5 to 20 V 45 W, and 5 Fixed 15 V asking 6 A, more current
// than a PDO may offer (invalid).
std::string PortFormWithEverySupply();

// A complete, valid cable description with `svids` cable SVIDs of `modesPerSvid` modes each.
std::string FullCableForm(int svids = 2, int modesPerSvid = 2);

} // namespace orvik::testsupport

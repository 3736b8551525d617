#pragma once

#include <string>

namespace orvik::testsupport {

// The text of a complete, valid port description: every port tab answered, `sourcePdos` Source and
// `sinkPdos` Sink PDOs, `sopSvids` SOP SVIDs with `modesPerSvid` fixed modes each. The largest
// file the form allows is FullPortForm(7, 7, 52, 6).
std::string FullPortForm(int sourcePdos = 7, int sinkPdos = 7, int sopSvids = 52, int modesPerSvid = 6);

// A complete, valid cable description with `svids` cable SVIDs of `modesPerSvid` modes each.
std::string FullCableForm(int svids = 2, int modesPerSvid = 2);

} // namespace orvik::testsupport

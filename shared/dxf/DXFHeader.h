// The HEADER section of a DXF drawing: version, angle settings and the dimension variables,
// of which the alternate-unit factor $DIMALTF sets the drawing's unit scale.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "shared/dxf/DXFGroup.h"

namespace shared {

// The dimension variables, each of its value's type.
struct TDXFDimGlobal {
  // The variable whose groups are being read.
  std::string VariableName;

  int32_t DimAlt = 0, DimAltD = 2, DimAso = 0, DimClrD = 0, DimClrE = 0, DimClrT = 0, DimLim = 0, DimSah = 0,
          DimSE1 = 0, DimSE2 = 0, DimSho = 0, DimSoxd = 0, DimTad = 0, DimTih = 0, DimTix = 0, DimTofl = 0,
          DimToh = 0, DimTol = 0, DimZin = 0;
  // 1/25.4: a millimetre drawing's inches.
  double DimAltF = 1 / 25.4, DimAsz = 0, DimCen = 0, DimDle = 0, DimDli = 0, DimExe = 0, DimExo = 0, DimGap = 0,
         DimLFac = 0, DimRnd = 0, DimScale = 0, DimTFac = 0, DimTm = 0, DimTp = 0, DimTsz = 0, DimTvp = 0,
         DimTxt = 0;
  std::string DimAPost, DimBlk, DimBlk1, DimBlk2, DimPost, DimStyle;

  // The group's value goes to the variable VariableName when it is one of these and the group
  // carries a value of the variable's type; false otherwise.
  bool Take(const TDXFGroup& group);
};

class TDXFHeader {
 public:
  std::string Version = "AC1009";
  // Degrees, as written.
  double AngleBase = 0;
  int32_t AngleDirection = 0;
  int32_t AngleUnits = 0;
  int32_t AnglePrecision = 0;
  TDXFDimGlobal DimGlobals;

  // Every value back to its default, so one drawing's header does not reach the next.
  void ResetDefaults() { *this = TDXFHeader(); }
  // From the group holding "2 HEADER" to "0 ENDSEC"; then the group's unit scale from $DIMALTF.
  void ReadSection(std::istream& in, TDXFGroup& group);
};

}  // namespace shared

// Header variables of a DXF drawing.
#include "shared/dxf/DXFHeader.h"

namespace shared {

namespace {

struct TIntVariable {
  const char* name;
  int32_t TDXFDimGlobal::*field;
};
struct TRealVariable {
  const char* name;
  double TDXFDimGlobal::*field;
};
struct TTextVariable {
  const char* name;
  std::string TDXFDimGlobal::*field;
};

using G = TDXFDimGlobal;

const TIntVariable kIntVariables[] = {
    {"$DIMALT", &G::DimAlt},   {"$DIMALTD", &G::DimAltD}, {"$DIMASO", &G::DimAso},   {"$DIMCLRD", &G::DimClrD},
    {"$DIMCLRE", &G::DimClrE}, {"$DIMCLRT", &G::DimClrT}, {"$DIMLIM", &G::DimLim},   {"$DIMSAH", &G::DimSah},
    {"$DIMSE1", &G::DimSE1},   {"$DIMSE2", &G::DimSE2},   {"$DIMSHO", &G::DimSho},   {"$DIMSOXD", &G::DimSoxd},
    {"$DIMTAD", &G::DimTad},   {"$DIMTIH", &G::DimTih},   {"$DIMTIX", &G::DimTix},   {"$DIMTOFL", &G::DimTofl},
    {"$DIMTOH", &G::DimToh},   {"$DIMTOL", &G::DimTol},   {"$DIMZIN", &G::DimZin},
};
const TRealVariable kRealVariables[] = {
    {"$DIMALTF", &G::DimAltF}, {"$DIMASZ", &G::DimAsz},     {"$DIMCEN", &G::DimCen}, {"$DIMDLE", &G::DimDle},
    {"$DIMDLI", &G::DimDli},   {"$DIMEXE", &G::DimExe},     {"$DIMEXO", &G::DimExo}, {"$DIMGAP", &G::DimGap},
    {"$DIMLFAC", &G::DimLFac}, {"$DIMRND", &G::DimRnd},     {"$DIMSCALE", &G::DimScale},
    {"$DIMTFAC", &G::DimTFac}, {"$DIMTM", &G::DimTm},       {"$DIMTP", &G::DimTp},   {"$DIMTSZ", &G::DimTsz},
    {"$DIMTVP", &G::DimTvp},   {"$DIMTXT", &G::DimTxt},
};
const TTextVariable kTextVariables[] = {
    {"$DIMAPOST", &G::DimAPost}, {"$DIMBLK", &G::DimBlk},   {"$DIMBLK1", &G::DimBlk1},
    {"$DIMBLK2", &G::DimBlk2},   {"$DIMPOST", &G::DimPost}, {"$DIMSTYLE", &G::DimStyle},
};

}  // namespace

bool TDXFDimGlobal::Take(const TDXFGroup& group) {
  const TDXFValueKind kind = group.ValueKind(group.Code);
  for (const auto& v : kIntVariables)
    if (VariableName == v.name) return kind == TDXFValueKind::Integer && ((this->*v.field = group.IntValue), true);
  for (const auto& v : kRealVariables)
    if (VariableName == v.name) return kind == TDXFValueKind::Real && ((this->*v.field = group.FloatValue), true);
  for (const auto& v : kTextVariables)
    if (VariableName == v.name) return kind == TDXFValueKind::Text && ((this->*v.field = group.StringValue), true);
  return false;
}

void TDXFHeader::ReadSection(std::istream& in, TDXFGroup& group) {
  std::string name;
  while (!group.IsEndSec()) {
    if (!group.ReadPair(in)) break;
    if (group.IsEndSec()) break;
    if (group.Code == 9) {
      name = group.StringValue;
      DimGlobals.VariableName = name;
      continue;
    }
    const TDXFValueKind kind = group.ValueKind(group.Code);
    if (name == "$ACADVER" && kind == TDXFValueKind::Text)
      Version = group.StringValue;
    else if (name == "$ANGBASE" && kind == TDXFValueKind::Real)
      AngleBase = group.FloatValue;
    else if (name == "$ANGDIR" && kind == TDXFValueKind::Integer)
      AngleDirection = group.IntValue;
    else if (name == "$AUNITS" && kind == TDXFValueKind::Integer)
      AngleUnits = group.IntValue;
    else if (name == "$AUPREC" && kind == TDXFValueKind::Integer)
      AnglePrecision = group.IntValue;
    DimGlobals.Take(group);
  }
  group.SetUnitScale(DimGlobals.DimAltF);
}

}  // namespace shared

// The solution list's record as a project file holds it: read or refused with a read error; one
// that reads must write a text that reads back and writes the same again. The grid and a graph
// follow the current solution read, and its leaving.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "shared/Complex.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechanismList.h"

namespace {

class TNullGrid : public vesk::TPropertiesGrid {
 public:
  int32_t ColCount() const override { return vesk::TMechanismList::kGridCols; }
  int32_t RowCount() const override { return vesk::TMechanismList::kGridRows; }
  void SetCell(int32_t, int32_t, const std::string&) override {}
  void SelectRow(int32_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::CreateServices();
  vesk::CreateDefaultInputFunction();
  const std::string text(reinterpret_cast<const char*>(data), size);
  TNullGrid grid;
  fuzz::TNullPaintBox box(400, 200);
  vesk::TGraphPaintBox graph(box, shared::Convert());
  vesk::TMechanismList first;
  first.Grid = &grid;
  first.Graph = &graph;
  first.GraphKind = int32_t(size % vesk::TMechanismList::kGraphKinds);
  std::istringstream in(text);
  try {
    first.Read(in);
  } catch (const shared::EFileReadError&) {
    if (first.Count() != 0 || first.Current) std::abort();
    return 0;
  }
  std::ostringstream once;
  first.Write(once);
  vesk::TMechanismList second;
  std::istringstream again(once.str());
  second.Read(again);  // a written record that does not read back is a fault: let it escape
  std::ostringstream twice;
  second.Write(twice);
  if (twice.str() != once.str()) std::abort();
  first.Delete(1);
  return 0;
}

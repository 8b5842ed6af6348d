// TJoint and TJointList: the joints of a synthesised mechanism, one of them the output point
// (the origin) whose path the mechanism traces.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "synthesis/engine/ComplexPoint.h"

namespace vesk {

class TJoint : public TComplexPoint {
 public:
  TJoint() = default;
  TJoint(double x, double y) : TComplexPoint(x, y) {}

  // The point record, a version line, IsOut.
  void ReadFromText(std::istream& in) override;
  void WriteToText(std::ostream& out) const override;
  // IsOut comes along from a joint and is kept otherwise.
  TComplex& Assign(const TComplex& source) override;
  TJoint* Clone() const override;
  // Only inside a list; the output joint is red unless selected.
  void Draw(shared::TCanvas2D& canvas) const override;
  // "A" for joint 1 ... "Z" for joint 26; "" beyond.
  std::string GetName() const override;

  bool IsOut = false;

 protected:
  const char* ClassName() const override { return "TJoint"; }
};

class TJointList : public TComplexPointList {
 public:
  // A mechanism's list holds 10.
  explicit TJointList(int32_t capacity = 10);

  // The list record, a line that is skipped, and the origin found from the IsOut flags. A record
  // without joints raises "File read error in TJointList!": there would be no joint to be the
  // origin.
  void Read(std::istream& in) override;
  void Write(std::ostream& out) override;
  void Delete(int32_t i) override;
  void Clear() override;

  // nullptr outside 1..Count.
  TJoint* GetJoint(int32_t i) const;
  TJoint* GetSelectedJoint() const;
  // Joint i becomes the output point; earlier output joints keep their flag. Nothing happens for
  // an index outside 1..Count.
  void SetOrigin(int32_t i);
  // The highest of joints 2..Count flagged IsOut; 1 when none is.
  int32_t FindOutputJoint() const;
  // Moves every joint but joint number skip by the offset.
  void TranslateAll(const shared::TComplex& offset, int32_t skip);

  // 0 and nullptr until set, and again once that joint is deleted or the list cleared; deleting
  // another joint renumbers the origin's index.
  int32_t OriginIndex = 0;
  TJoint* Origin() const { return fOrigin; }

 protected:
  std::unique_ptr<TComplexPoint> NewItem() const override;

 private:
  TJoint* fOrigin = nullptr;
};

}  // namespace vesk

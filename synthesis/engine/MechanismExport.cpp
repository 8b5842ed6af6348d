// A mechanism's export as sections of the animator's document and as a SAM input deck; written
// from the base data by MechanismType, so every chain type exports without its own override.
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/FilePath.h"
#include "shared/ProgramInfo.h"
#include "shared/TabLine.h"
#include "synthesis/engine/Mechanism.h"
#include "synthesis/engine/ProgramInfo.h"

namespace vesk {

using shared::TComplex;

namespace {

struct TJointRecord {
  std::string Letter;
  TComplex Point;
  bool Trace = false;
  bool Vectors = false;
  bool Analyse = false;
  bool Locked = false;
  bool HasInput = false;
  bool Tracer = false;
};

struct TLinkRecord {
  std::string Name;
  std::string Kind;
  bool Flag1 = false;
  bool Flag2 = false;
};

TJointRecord JointRecord(const TComplexPoint& joint, int32_t index) {
  const auto* j = dynamic_cast<const TJoint*>(&joint);
  const bool out = j && j->IsOut;
  return {joint.GetName(), TComplex(joint.X, joint.Y), out, out, out, out, index == 1, out};
}

TLinkRecord LinkRecord(const TLink& link) {
  const bool body = link.Type() == kOutputLink;
  return {link.GetName(), link.KindString(), body, body};
}

void WriteInput(shared::TTabLines& lines, const std::string& section, double tmax, double xmax) {
  lines.BeginSection(section);
  lines.ClearFields();
  lines.AddInt(0);
  lines.AddFloat(tmax);
  lines.AddFloat(xmax);
  lines.WriteLine();
  lines.EndSection();
}

// w:d notation: d decimals right-aligned in w characters, independent of the process locale.
std::string Fixed(double value, int width, int decimals) {
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  std::string s(text, result.ptr);
  if (int(s.size()) < width) s.insert(0, size_t(width - int(s.size())), ' ');
  return s;
}

std::string Padded(int64_t value, int width) {
  std::string s = std::to_string(value);
  if (int(s.size()) < width) s.insert(0, size_t(width - int(s.size())), ' ');
  return s;
}

}  // namespace

void TMechanism::ExportToAnimator() {
  shared::TTabLines& lines = shared::TabLines();
  std::vector<TJointRecord> joints;
  std::vector<TLinkRecord> links;
  std::vector<std::pair<std::string, std::string>> dyads;
  double tmax = InputFunction.Tmax();
  double xmax = InputFunction.Xmax();
  const int32_t n = Joints.Count();

  auto allJoints = [&] {
    for (int32_t i = 1; i <= n; ++i) joints.push_back(JointRecord(JointAt(i), i));
  };
  auto allLinks = [&] {
    for (int32_t i = 1; i <= Links.Count(); ++i) links.push_back(LinkRecord(LinkAt(i)));
  };

  switch (MechanismType) {
    case kWatt1Type:
      allJoints();
      allLinks();
      dyads = {{"BCE", "CDF"}, {"FG", "EGH"}};
      break;
    case kWatt2Type:
      allJoints();
      allLinks();
      dyads = {{"BC", "CDE"}, {"EFH", "FG"}};
      // The input loop built for a half turn runs through both halves of its cycle; one solved
      // for prescribed input rotations runs as synthesised, as it may not turn further, and one
      // run round a closed curve's loop has turned its whole cycle already.
      if (!PrecisionPoints.In && !PrecisionPoints.Closed) {
        tmax *= 2;
        xmax *= 2;
      }
      break;
    case kStephenson1Type:
      allJoints();
      allLinks();
      dyads = {{"BE", "DEF"}, {"CG", "FGH"}};
      break;
    case kStephenson3Type:
      allJoints();
      allLinks();
      dyads = {{"BDE", "DC"}, {"EGH", "FG"}};
      break;
    case kEightbarType: {
      allJoints();
      // The animator closes the parallelograms through a joint of its own at J3.
      TJointRecord k;
      k.Letter = "K";
      if (n >= 3) k.Point = TComplex(JointAt(3).X, JointAt(3).Y);
      joints.push_back(k);
      for (int32_t i = 1; i <= Links.Count(); ++i) {
        TLinkRecord record = LinkRecord(LinkAt(i));
        if (i == 4) record = {"CDK", "PPP", false, false};
        if (i == 5) record = {"GHK", "PPP", false, false};
        links.push_back(record);
      }
      dyads = {{"BCE", "CDK"}, {"GHK", "HI"}, {"EFJ", "FG"}};
      break;
    }
    case kSliderType: {
      // The long rocker becomes a slider: joint 3 stands a short way from J4 towards the guide.
      static const char* const kLetters[] = {"A", "B", "D", "C", "E"};
      for (int32_t i = 1; i <= n && i <= 5; ++i) {
        TJointRecord record = JointRecord(JointAt(i), i);
        record.Letter = kLetters[i - 1];
        if (i == 4) record.Trace = true;
        joints.push_back(record);
      }
      if (n >= 4) {
        const TComplex j2(JointAt(2).X, JointAt(2).Y), j3(JointAt(3).X, JointAt(3).Y), j4(JointAt(4).X, JointAt(4).Y);
        TComplex toward, reach;
        toward.Sub(j3, j4);
        reach.Sub(j2, j4);
        // Coincident joints leave joint 3 where it is rather than write no number.
        if (toward.Abs() > 0) {
          const double scale = 0.1 * reach.Abs() / toward.Abs();
          joints[2].Point = TComplex(j4.X + scale * toward.X, j4.Y + scale * toward.Y);
        }
      }
      links = {{"AD", "PS", false, true}, {"AB", "PP", false, false}, {"BCE", "PPP", true, true}, {"CD", "PS", false, false}};
      dyads = {{"BCE", "CD"}};
      break;
    }
    case kFiveBarType:
      for (int32_t i = 1; i <= n; ++i) {
        if (i == 2 || i == 5) continue;  // the belt's tangent points
        TJointRecord record = JointRecord(JointAt(i), i);
        record.HasInput = i == 1 || i == 4;
        joints.push_back(record);
      }
      for (int32_t i = 1; i <= Links.Count(); ++i) {
        if (i == 3) continue;  // the belt
        TLinkRecord record = LinkRecord(LinkAt(i));
        if (i == 2) record = {"AC", "PP", false, false};
        if (i == 4) record = {"DF", "PP", false, false};
        links.push_back(record);
      }
      dyads = {{"CG", "FGH"}};
      break;
    default:
      allJoints();
      allLinks();
      dyads = {{"BDE", "CD"}};
      break;
  }

  lines.BeginSection(shared::kProductWord);
  lines.ClearFields();
  lines.AddInt(0);
  lines.AddString("Vesk");
  lines.WriteLine();
  lines.EndSection();

  lines.BeginSection("Joints");
  for (const TJointRecord& j : joints) {
    lines.ClearFields();
    lines.AddString(j.Letter);
    lines.AddFloat(j.Point.X);
    lines.AddFloat(j.Point.Y);
    for (bool flag : {j.Trace, j.Vectors, j.Analyse, j.Locked, j.HasInput, j.Tracer}) lines.AddBool(flag);
    lines.WriteLine();
  }
  lines.EndSection();

  lines.BeginSection("Links");
  for (const TLinkRecord& l : links) {
    lines.ClearFields();
    lines.AddString(l.Name);
    lines.AddString(l.Kind);
    lines.AddBool(l.Flag1);
    lines.AddBool(l.Flag2);
    lines.WriteLine();
  }
  lines.EndSection();

  lines.BeginSection("Dyads");
  for (const auto& [first, second] : dyads) {
    lines.ClearFields();
    lines.AddString(first);
    lines.AddString(second);
    lines.WriteLine();
  }
  lines.EndSection();

  WriteInput(lines, "Input A", tmax, xmax);
  // The second wheel turns r times as far as the first.
  if (MechanismType == kFiveBarType) WriteInput(lines, "Input D", tmax, xmax * Links.Ratio);
}

bool TMechanism::ExportSam(const std::string& fileName) const {
  if (MechanismType == kSliderType || MechanismType == kFiveBarType) return false;
  std::string text;
  auto line = [&text](const std::string& s) { text += s + "\r\n"; };

  line("TITLE Vesk " + ProgramInfo().Version + " to SAM");
  for (int32_t i = 1; i <= Joints.Count(); ++i)
    line("NODE  " + Padded(i, 6) + " " + Fixed(JointAt(i).X, 12, 8) + " " + Fixed(JointAt(i).Y, 12, 8));

  // Beams of every moving link: first joint to each other, then consecutive ones from the second.
  std::vector<std::pair<int32_t, int32_t>> beams;
  for (int32_t l = 2; l <= Links.Count(); ++l) {
    const TLink& link = LinkAt(l);
    const int32_t m = link.JointCount();
    auto index = [&link](int32_t k) { return link.Joint(k) ? link.Joint(k)->Index() : 0; };
    for (int32_t k = 2; k <= m; ++k) beams.emplace_back(index(1), index(k));
    if (m > 2)
      for (int32_t k = 2; k < m; ++k) beams.emplace_back(index(k), index(k + 1));
  }
  int32_t k = 1000;
  for (size_t b = 0; b < beams.size(); ++b, k += 2) {
    line("ANGLE " + Padded(k + 1, 6));
    line("ANGLE " + Padded(k + 2, 6));
  }
  k = 1000;
  const std::string zero = Fixed(0, 12, 8);
  for (size_t b = 0; b < beams.size(); ++b, k += 2)
    line("BEAM " + std::to_string(b + 1) + " " + std::to_string(beams[b].first) + " " + std::to_string(k + 1) + " " +
         std::to_string(beams[b].second) + " " + std::to_string(k + 2) + " " + zero + " " + zero + " " + zero);

  if (const TLink* ground = Links.GetLink(1))
    for (int32_t j = 1; j <= ground->JointCount(); ++j) {
      const int32_t i = ground->Joint(j) ? ground->Joint(j)->Index() : 0;
      line("FIX " + Padded(i, 3) + " 1");
      line("FIX " + Padded(i, 3) + " 2");
    }
  line("XINPUT 1001 1");
  line(" LINEAR " + Fixed(InputFunction.Xmax(), 12, 8) + " " + Fixed(InputFunction.Tmax(), 12, 8) + " " +
       std::to_string(InputFunction.Steps()));
  line("ENDBLOC");
  line("FILE");
  line(" XALL");
  line("ENDBLOC");
  shared::WriteFileReplacing(fileName, text, ".~saving", "Cannot write " + fileName + ": ");
  return true;
}

}  // namespace vesk

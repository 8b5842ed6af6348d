// The mechanism document content of TAniMechanism: header, joints, links, dyads, input functions,
// drawings, curve and areas, read through a scratch mechanism so a failed read changes nothing.
#include <cctype>
#include <charconv>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/ProgramInfo.h"
#include "shared/TextLine.h"

namespace quillon {

namespace {

constexpr const char* kJointsSection = "Joints";
constexpr const char* kLinksSection = "Links";
constexpr const char* kDyadsSection = "Dyads";
constexpr const char* kDrawingsSection = "DXF";
// Only undo entries hold this section: what the mechanism was called and whether it had been
// fitted, which a file does not record.
constexpr const char* kUndoSection = "Undo";
// What a document read from a file or the clipboard is called: no preset any more.
constexpr const char* kCustomName = "Custom";
// Documents older than the kinds field hold pins only.
constexpr const char* kOldKinds = "PPPPPPPPP";
// The one old version whose link records carry the kind of the second joint after IC-link.
constexpr int32_t kSecondKindVersion = -96;

// Fields a record cannot do without: a joint's letter and position, a link's joint letters
// and (since the kinds field) their kinds. Hand-written documents leave off the flags after
// them, which read as off; a record without these is cut short.
constexpr int32_t kJointFields = 3;
constexpr int32_t kLinkFields = 2;
constexpr int32_t kOldLinkFields = 1;

// Reads the section's records up to the bound through read, then passes over the rest with
// one warning; true when all were read.
template <class ReadRecord>
bool ReadBounded(shared::TTabLines& lines, int32_t bound, const std::string& what, ReadRecord read) {
  int32_t count = 0;
  bool over = false;
  while (lines.ReadLine()) {
    if (count < bound) {
      read();
      ++count;
    } else {
      over = true;
    }
  }
  if (over)
    StdOut().Warning("The document holds more than " + std::to_string(bound) + " " + what + "; only the first " +
                     std::to_string(bound) + " were read.");
  return !over;
}

// How the warnings name the document: the file it came from, else "the document".
std::string DocumentName(const shared::TTabLines& lines) {
  return lines.FileName.empty() ? std::string("the document") : "\"" + lines.FileName + "\"";
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string Capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

// A last line of digits alone is the checksum line the store appends on saving. Hand-written
// documents have none, which is no damage; one that does not match the text before it is.
bool ChecksumMismatch(const shared::TTabLines& lines) {
  if (lines.Lines.size() < 2) return false;
  const std::string& last = lines.Lines.back();
  if (last.empty() || last.size() > 5) return false;
  uint32_t stored = 0;
  const auto [end, error] = std::from_chars(last.data(), last.data() + last.size(), stored);
  if (error != std::errc() || end != last.data() + last.size() || stored > 0xFFFF) return false;
  const std::vector<std::string> content(lines.Lines.begin(), lines.Lines.end() - 1);
  return lines.ComputeCrc(content) != stored;
}

// Names of sections opened by "[Name>" and not closed by "<Name]" before the next section
// opens or the text ends: what a document cut off in the middle leaves.
std::vector<std::string> UnendedSections(const shared::TTabLines& lines) {
  std::vector<std::string> unended;
  std::string open;
  bool inSection = false;
  for (const std::string& line : lines.Lines) {
    const bool starts = line.size() >= 2 && line.front() == '[' && line.back() == '>';
    if (starts) {
      if (inSection) unended.push_back(open);
      open = line.substr(1, line.size() - 2);
      inSection = true;
    } else if (inSection && line.size() == open.size() + 2 && line.front() == '<' && line.back() == ']' &&
               SameText(line.substr(1, open.size()), open)) {
      // Checked for its shape first: most lines are records, and building the end mark to compare
      // with cost an allocation on each of them.
      inSection = false;
    }
  }
  if (inSection) unended.push_back(open);
  return unended;
}

}  // namespace

void TAniMechanism::SaveToTabLines(shared::TTabLines& lines) const {
  lines.BeginSection(shared::kProductWord);
  lines.ClearFields();
  lines.AddInt(kFileFormatVersion);
  lines.WriteLine();
  lines.EndSection();

  lines.BeginSection(kJointsSection);
  for (const auto& joint : Joints) {
    lines.ClearFields();
    lines.AddString(std::string(1, static_cast<char>(joint->Letter)));
    lines.AddFloat(joint->Positions[0].X);
    lines.AddFloat(joint->Positions[0].Y);
    lines.AddBool(joint->Trace);
    lines.AddBool(joint->ShowVectors);
    lines.AddBool(joint->Analyse);
    lines.AddBool(joint->Locked);
    lines.AddBool(joint->InputIndex >= 0);
    lines.AddBool(joint.get() == Tracer);
    lines.WriteLine();
  }
  lines.EndSection();

  lines.BeginSection(kLinksSection);
  for (const auto& link : Links) {
    lines.ClearFields();
    lines.AddString(link->Name);
    lines.AddString(link->KindsText());
    lines.AddBool(link->Kinematics);
    lines.AddBool(link->ICLink);
    lines.WriteLine();
  }
  lines.EndSection();

  lines.BeginSection(kDyadsSection);
  for (const auto& dyad : Dyads) {
    lines.ClearFields();
    lines.AddString(dyad->Link1 ? dyad->Link1->Name : "");
    lines.AddString(dyad->Link2 ? dyad->Link2->Name : "");
    lines.WriteLine();
  }
  lines.EndSection();

  for (const auto& input : Inputs) input->WriteTabLines(lines);

  lines.BeginSection(kDrawingsSection);
  for (const auto& link : Links) {
    lines.ClearFields();
    // An empty name means "no drawing" and stays empty.
    const shared::TDXFDrawing& drawing = *link->Drawing;
    lines.AddFileName(drawing.FileName);
    lines.AddString(link->AnchorField());
    lines.AddFloat(drawing.Transform.OffsetX);
    lines.AddFloat(drawing.Transform.OffsetY);
    lines.AddFloat(drawing.Transform.Angle);
    lines.WriteLine();
  }
  lines.EndSection();

  Curve.WriteTabLines(lines);
  Areas.WriteTabLines(lines);
}

bool TAniMechanism::ReadContent(shared::TTabLines& lines) {
  const int32_t version = ReadFormatVersion(lines);
  const int32_t unreadBefore = lines.UnreadNumbers;
  const std::string document = DocumentName(lines);
  bool whole = true;
  if (ChecksumMismatch(lines)) {
    StdOut().Warning("The checksum line of " + document + " does not match its content.");
    whole = false;
  }
  const std::vector<std::string> unended = UnendedSections(lines);
  if (!unended.empty()) {
    std::string list;
    for (const std::string& section : unended) list += (list.empty() ? "\"" : ", \"") + section + "\"";
    StdOut().Warning(Capitalised(document) + " is cut short: " + (unended.size() == 1 ? "the section " : "the sections ") +
                     list + (unended.size() == 1 ? " has" : " have") + " no end mark.");
    whole = false;
  }
  int32_t shortRecords = 0;

  Inputs.clear();
  Joints.clear();
  Tracer = nullptr;
  if (lines.FindSection(kJointsSection)) {
    whole &= ReadBounded(lines, kMaxJoints, "joints", [&] {
      if (lines.FieldCount < kJointFields) ++shortRecords;
      const std::string letter = lines.GetString("");
      const double x = lines.GetFloat(0);
      const double y = lines.GetFloat(0);
      const bool trace = lines.GetBool(false);
      const bool showVectors = lines.GetBool(false);
      const bool analyse = lines.GetBool(false);
      const bool locked = lines.GetBool(false);
      const bool hasInput = lines.GetBool(false);
      const bool isTracer = lines.GetBool(false);
      const char c = letter.empty() ? ' ' : letter[0];
      AddJoint(c, trace, x, y, analyse, showVectors);
      Joints.back()->Locked = locked;
      if (hasInput) AddInput(c);
      if (isTracer) Tracer = Joints.back().get();
    });
  }

  Links.clear();
  if (lines.FindSection(kLinksSection)) {
    const int32_t fields = version == kFileFormatVersion ? kLinkFields : kOldLinkFields;
    whole &= ReadBounded(lines, kMaxLinks, "links", [&] {
      if (lines.FieldCount < fields) ++shortRecords;
      const std::string name = lines.GetString("");
      const std::string kinds = version == kFileFormatVersion ? lines.GetString("") : kOldKinds;
      const bool kinematics = lines.GetBool(false);
      const bool icLink = lines.GetBool(false);
      AddLink(name, kinds, kinematics, icLink);
      if (version == kSecondKindVersion) {
        const int32_t kind = lines.GetInt(0);
        TAniLink& link = *Links.back();
        if (link.JointCount >= 2)
          link.Kind[1] = kind == TAniLink::kSlider ? TAniLink::kSlider : TAniLink::kPin;
      }
    });
  }

  Dyads.clear();
  if (lines.FindSection(kDyadsSection)) {
    // A dyad without its second link is written with an empty last field, which reads back as
    // no field: dyad records cannot tell a cut.
    whole &= ReadBounded(lines, kMaxDyads, "dyads", [&] {
      const std::string first = lines.GetString("");
      const std::string second = lines.GetString("");
      AddDyad(first, second);
    });
  }

  RebuildTopology();
  if (shortRecords > 0) {
    StdOut().Warning(std::to_string(shortRecords) + (shortRecords == 1 ? " record of " : " records of ") + document +
                     (shortRecords == 1 ? " is" : " are") + " cut short; what is missing was taken as 0.");
    whole = false;
  }
  std::string dangling;
  for (const auto& link : Links) {
    for (int32_t k = 0; k < link->JointCount; ++k) {
      if (link->JointIndex[k] >= 0) continue;
      if (!dangling.empty()) dangling += ", ";
      dangling += std::string(1, link->Name[k]) + " in " + link->Name;
    }
  }
  if (!dangling.empty()) {
    StdOut().Warning("Letters of links in " + document + " name no joint: " + dangling + ".");
    whole = false;
  }
  for (auto& input : Inputs) input->ReadTabLines(lines);
  RetimeInputs();

  if (lines.FindSection(kDrawingsSection)) {
    for (int32_t l = 0; lines.ReadLine(); ++l) {
      if (l >= LinkCount()) continue;
      TAniLink& link = *Links[l];
      const std::string fileName = lines.GetFileName("");
      link.SetAnchorLetter(lines.GetString(""));
      const double x = lines.GetFloat(0);
      const double y = lines.GetFloat(0);
      const double angle = lines.GetFloat(0);
      // A file that is missing or cannot be read leaves the drawing empty and keeps its name, so
      // saving the document again loses nothing.
      if (!fileName.empty()) {
        const std::string problem = LoadDrawingFile(*link.Drawing, fileName);
        if (!problem.empty()) StdOut().Warning(problem);
      }
      link.Drawing->Transform.SetAll(x, y, angle, 1, 1);
    }
  }

  Curve.ReadTabLines(lines);
  Areas.ReadTabLines(lines);
  // "NAN", "INF", values beyond the double range and other text where a number belongs.
  const int32_t unread = lines.UnreadNumbers - unreadBefore;
  if (unread > 0) {
    StdOut().Warning(std::to_string(unread) + (unread == 1 ? " value of " : " values of ") + document +
                     (unread == 1 ? " could not be read as a number and was taken as 0."
                                  : " could not be read as numbers and were taken as 0."));
    whole = false;
  }
  ResetFrame();
  return whole;
}

void TAniMechanism::TakeContent(TAniMechanism& source) {
  Inputs = std::move(source.Inputs);
  Joints = std::move(source.Joints);
  Links = std::move(source.Links);
  Dyads = std::move(source.Dyads);
  Tracer = source.Tracer;
  source.Tracer = nullptr;
  // Views hold references to the curve and the areas: the objects stay, their content moves.
  Curve = std::move(source.Curve);
  Areas = std::move(source.Areas);
  // The read rebuilt the topology from these very objects; planning the centres again would
  // give the same plan.
  SharedJoint = std::move(source.SharedJoint);
  Centres = std::move(source.Centres);
  ResetFrame();
}

bool TAniMechanism::LoadFromTabLines(shared::TTabLines& lines) {
  TAniMechanism scratch{TBlank{}};
  scratch.SetPositionCount(N);
  const bool whole = scratch.ReadContent(lines);
  TakeContent(scratch);
  PresetName = kCustomName;
  Optimized = 0;
  if (lines.FindSection(kUndoSection) && lines.ReadLine()) {
    // As a record holds it: a hand-made entry's tab or line break inside the name is a blank.
    PresetName = shared::OneLineField(lines.GetString(kCustomName));
    Optimized = lines.GetBool(false);
  }
  return whole;
}

void TAniMechanism::SaveUndoState(shared::TTabLines& lines) const {
  PrepareUndoState(lines);
  lines.PushHistory();
}

void TAniMechanism::PrepareUndoState(shared::TTabLines& lines) const {
  lines.Clear();
  SaveToTabLines(lines);
  lines.BeginSection(kUndoSection);
  lines.ClearFields();
  lines.AddString(PresetName);
  lines.AddBool(Optimized);
  lines.WriteLine();
  lines.EndSection();
}

}  // namespace quillon

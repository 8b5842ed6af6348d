// The mechanism document content of TAniMechanism: header, joints, links, dyads, input functions,
// drawings, curve and areas, read through a scratch mechanism so a failed read changes nothing.
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"

namespace quillon {

namespace {

constexpr const char* kJointsSection = "Joints";
constexpr const char* kLinksSection = "Links";
constexpr const char* kDyadsSection = "Dyads";
constexpr const char* kDrawingsSection = "DXF";
// Documents older than the kinds field hold pins only.
constexpr const char* kOldKinds = "PPPPPPPPP";
// The one old version whose link records carry the kind of the second joint after IC-link.
constexpr int32_t kSecondKindVersion = -96;

// Reads the section's records up to the bound through read, then passes over the rest with
// one warning.
template <class ReadRecord>
void ReadBounded(shared::TTabLines& lines, int32_t bound, const std::string& what, ReadRecord read) {
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
}

}  // namespace

void TAniMechanism::SaveToTabLines(shared::TTabLines& lines) const {
  lines.BeginSection(kProductWord);
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

void TAniMechanism::ReadContent(shared::TTabLines& lines) {
  const int32_t version = ReadFormatVersion(lines);
  const int32_t unreadBefore = lines.UnreadNumbers;

  Inputs.clear();
  Joints.clear();
  Tracer = nullptr;
  if (lines.FindSection(kJointsSection)) {
    ReadBounded(lines, kMaxJoints, "joints", [&] {
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
    ReadBounded(lines, kMaxLinks, "links", [&] {
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
    ReadBounded(lines, kMaxDyads, "dyads", [&] {
      const std::string first = lines.GetString("");
      const std::string second = lines.GetString("");
      AddDyad(first, second);
    });
  }

  RebuildTopology();
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
  if (unread > 0)
    StdOut().Warning(std::to_string(unread) + (unread == 1 ? " value" : " values") +
                     " of the document could not be read as numbers and were taken as 0.");
  ResetFrame();
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
  RebuildTopology();
  ResetFrame();
}

void TAniMechanism::LoadFromTabLines(shared::TTabLines& lines) {
  TAniMechanism scratch{TBlank{}};
  scratch.SetPositionCount(N);
  scratch.ReadContent(lines);
  TakeContent(scratch);
}

void TAniMechanism::SaveUndoState(shared::TTabLines& lines) const {
  PrepareUndoState(lines);
  lines.PushHistory();
}

void TAniMechanism::PrepareUndoState(shared::TTabLines& lines) const {
  lines.Clear();
  SaveToTabLines(lines);
}

}  // namespace quillon

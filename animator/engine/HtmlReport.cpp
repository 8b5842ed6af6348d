// The HTML report page: its lines in order, the pictures beside it, and its text conversions.
#include "animator/engine/HtmlReport.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "animator/engine/AniMechanism.h"
#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/TextLine.h"

namespace quillon {

namespace {

bool HasProjectInfo(const shared::TProjectInfo& info) {
  const auto blank = [](const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
  };
  return !blank(info.Title) || !blank(info.Client) || !blank(info.Author) || !blank(info.Date) ||
         !std::all_of(info.Comments.begin(), info.Comments.end(), blank);
}

}  // namespace

std::string THtmlReport::DrawingFileName() const { return shared::ReplaceNameTail(FileName, "Mech.jpg"); }

std::string THtmlReport::GraphFileName() const { return shared::ReplaceNameTail(FileName, "Graph.jpg"); }

void THtmlReport::WriteLines(std::ostream& out, std::vector<std::string>& pictures) const {
  const char* end = shared::kLineEnd;
  const auto line = [&](const std::string& text) { out << text << end; };
  shared::WriteHtmlPageHead(out, {Title + " - V" + Version, FileNameHtml(FileName),
                                  FileNameHtml(DocumentName), Date, Time, Options.AutoPrint});
  if (Options.ProjectInfo && Info && HasProjectInfo(*Info)) Info->WriteHTML(out);
  if (Options.Drawing && Mechanism) {
    const std::string drawing = DrawingFileName();
    if (SaveDrawing) {
      SaveDrawing(drawing);
      pictures.push_back(drawing);
    }
    line("<table border=\"1\" bordercolor=\"#000000\">");
    line("<tr><td colspan=\"1\" bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\"><b>" +
         shared::HtmlEscape(Mechanism->PresetName) + "</b>" + (Mechanism->Optimized ? " [Optimized]" : "") +
         "</font></td></tr>");
    line("<tr><td><img src=\"" + shared::PictureUrl(drawing) + "\"></td></tr>");
    if (SaveGraph) {
      const std::string graph = GraphFileName();
      SaveGraph(graph);
      pictures.push_back(graph);
      line("<tr><td bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\">");
      line("<b>" + shared::HtmlEscape(GraphSeriesName) + "</b></font></td></tr>");
      line("<tr><td><img src=\"" + shared::PictureUrl(graph) + "\"></td></tr>");
    }
    line("</table>");
    line("<p></p>");
  }
  if (Mechanism) {
    if (Options.Properties) Mechanism->WritePropertiesHTML(out, Polar);
    if (Options.PathData) Mechanism->WritePathPointsHTML(out, Polar);
    if (Options.Curve) Mechanism->Curve.WriteHTML(out, Polar);
    if (Options.Areas) Mechanism->Areas.WriteHTML(out, Polar);
  }
  shared::WriteHtmlPageFooter(out, ProductURL, Title, Notice);
}

std::vector<std::string> THtmlReport::Save(std::string& error) const {
  error.clear();
  const std::string failurePrefix = "Cannot write report file \"" + FileName + "\": ";
  // Checked before any picture is taken beside it.
  if (std::filesystem::path(FileName).filename().empty())
    throw std::runtime_error(failurePrefix + "no file name.");
  std::ostringstream lines;
  std::vector<std::string> written;
  try {
    WriteLines(lines, written);
  } catch (const std::exception& failure) {
    error = failure.what();
  } catch (...) {
    error = "Unknown error";
  }
  try {
    shared::WriteFileReplacing(FileName, Latin1Html(lines.str()), ".tmp~", failurePrefix);
  } catch (...) {
    for (const std::string& picture : written) {
      std::error_code ignored;
      std::filesystem::remove(picture, ignored);
    }
    throw;
  }
  written.push_back(FileName);
  return written;
}

}  // namespace quillon

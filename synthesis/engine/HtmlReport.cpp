// The solution's HTML report: its default name, its lines in order and its files.
#include "synthesis/engine/HtmlReport.h"

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "shared/FilePath.h"
#include "shared/PictureFile.h"
#include "shared/ProjectInfo.h"
#include "shared/TextLine.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/Mechanism.h"
#include "synthesis/engine/PathPoint.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

namespace fs = std::filesystem;

std::string ReportBaseName(const std::string& projectName, const std::string& dataDir) {
  if (shared::IsFile(projectName)) return projectName;
  return (fs::path(dataDir) / fs::path(projectName).filename()).string();
}

std::string DefaultReportName(const std::string& projectName, const std::string& dataDir, int32_t id) {
  return shared::ReplaceNameTail(ReportBaseName(projectName, dataDir), std::to_string(id) + ".html");
}

std::string THtmlReport::MechPictureName() const { return shared::ReplaceNameTail(FileName, "Mech.bmp"); }

std::string THtmlReport::GraphPictureName() const { return shared::ReplaceNameTail(FileName, "Graph.bmp"); }

void THtmlReport::WriteLines(std::ostream& out) const {
  const auto line = [&](const std::string& text) { out << text << shared::kLineEnd; };
  shared::WriteHtmlPageHead(
      out, {Title + " - V" + Version, shared::FileNameHtml(BaseName),
            shared::FileNameHtml(fs::path(ProjectName).filename().string()), Date, Time, Options.AutoPrint});
  if (Options.ProjectInfo && Info) Info->WriteHTML(out);
  if (Options.Drawing && Mechanism) {
    line("<table border=\"1\" bordercolor=\"#000000\">");
    line("<tr><td colspan=\"1\" bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\"><b>" +
         shared::HtmlEscape(Mechanism->Name) + " " + std::to_string(Mechanism->ID) + "</b>" +
         (Mechanism->Optimized ? " [Optimized]" : ""));
    line("</font></td></tr>");
    line("<tr><td><img src=\"" + shared::PictureUrl(MechPictureName()) + "\"></td></tr>");
    if (GraphPicture) {
      line("<tr><td bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\">");
      line("<b>" + shared::HtmlEscape(GraphCaption) + "</b></font></td></tr>");
      line("<tr><td><img src=\"" + shared::PictureUrl(GraphPictureName()) + "\"></td></tr>");
    }
    line("</table>");
    line("<p></p>");
  }
  if (Mechanism && Options.Properties) Mechanism->WriteHtml(out);
  if (Mechanism && Graph && Options.PathData) Mechanism->PathPoints.WriteHtml(out, *Graph);
  if (Curve && Options.Curve) Curve->WriteHtml(out);
  if (GroundAreas && Options.Areas) GroundAreas->WriteHtml(out);
  if (CouplerAreas && Options.Areas) CouplerAreas->WriteHtml(out);
  shared::WriteHtmlPageFooter(out, ProductURL, Title, Notice);
}

std::vector<std::string> THtmlReport::Save() const {
  const std::string failurePrefix = "Cannot write report file \"" + FileName + "\": ";
  // Checked before any picture is saved beside it.
  if (fs::path(FileName).filename().empty()) throw std::runtime_error(failurePrefix + "no file name.");
  // The whole page first: a table that fails leaves no file behind.
  std::ostringstream lines;
  WriteLines(lines);
  std::vector<std::string> written;
  try {
    shared::SaveBmpFile(MechPictureName(), MechPicture);
    written.push_back(MechPictureName());
    if (GraphPicture) {
      shared::SaveBmpFile(GraphPictureName(), *GraphPicture);
      written.push_back(GraphPictureName());
    }
    shared::WriteFileReplacing(FileName, shared::Latin1Html(lines.str()), ".tmp~", failurePrefix);
  } catch (...) {
    for (const std::string& picture : written) {
      std::error_code ignored;
      fs::remove(picture, ignored);
    }
    throw;
  }
  written.push_back(FileName);
  return written;
}

}  // namespace vesk

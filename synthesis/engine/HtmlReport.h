// THtmlReport: the synthesis program's HTML report of one solution (heading, project
// information, pictures of the mechanism and the graph, properties, path points, curve and pivot
// areas), written with its pictures as ISO-8859-1 text; and the report's default name.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "shared/HtmlPage.h"
#include "shared/PaintSurface.h"

namespace shared {
class TProjectInfo;
}  // namespace shared

namespace vesk {

class TAreaList;
class TGraphPaintBox;
class TMechanism;
class TSpline;

// The name the report is proposed under, before its solution's ID: the project file when that
// file exists, else the data folder joined with the project's file name.
std::string ReportBaseName(const std::string& projectName, const std::string& dataDir);
// ReportBaseName with its extension replaced by the ID and ".html" (gear.vesk, 12: gear12.html).
std::string DefaultReportName(const std::string& projectName, const std::string& dataDir, int32_t id);

class THtmlReport : public shared::TReportStamp {
 public:
  // The report file as the file system names it (UTF-8); the pictures go beside it.
  std::string FileName;
  // The page's title: ReportBaseName of the project (UTF-8).
  std::string BaseName;
  // The project file, of which the heading shows the name without folder (UTF-8).
  std::string ProjectName;
  shared::THtmlReportOptions Options;
  // The tables' sources; a missing one leaves its table out.
  const shared::TProjectInfo* Info = nullptr;
  const TMechanism* Mechanism = nullptr;
  // The graph whose values make the path table's graph column.
  const TGraphPaintBox* Graph = nullptr;
  const TSpline* Curve = nullptr;
  const TAreaList* GroundAreas = nullptr;
  const TAreaList* CouplerAreas = nullptr;
  // The pictures, taken before the report's options were asked; no graph picture (the graph
  // panel is hidden): no graph picture file and no graph rows.
  shared::TRaster MechPicture;
  std::optional<shared::TRaster> GraphPicture;
  // The caption of the graph's tab, the heading of its picture (Windows-1252).
  std::string GraphCaption;

  // FileName with its extension replaced by "Mech.bmp" and "Graph.bmp".
  std::string MechPictureName() const;
  std::string GraphPictureName() const;

  // The report's lines in Windows-1252, each ended by CR LF.
  void WriteLines(std::ostream& out) const;

  // Saves the pictures as BMP files, then the lines as ISO-8859-1 to FileName, replaced only
  // whole. Gives the files written, pictures first. Raises std::runtime_error with the reason
  // when a file cannot be written; the pictures of this report are removed then.
  std::vector<std::string> Save() const;
};

}  // namespace vesk

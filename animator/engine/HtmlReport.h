// THtmlReport: the animator's HTML report page (heading, project information, pictures of the
// drawing and the graph, property, path, curve and area tables), written as ISO-8859-1 text.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "shared/HtmlPage.h"

namespace shared {
class TProjectInfo;
}  // namespace shared

namespace quillon {

class TAniMechanism;

using shared::FileNameHtml;
using shared::FileNameUrl;
using shared::Latin1Html;
using shared::THtmlReportOptions;

class THtmlReport : public shared::TReportStamp {
 public:
  // The report file as the file system names it (UTF-8 bytes); the pictures go beside it.
  std::string FileName;
  // The document's file name without directory, as the file system names it.
  std::string DocumentName;
  THtmlReportOptions Options;
  const shared::TProjectInfo* Info = nullptr;
  const TAniMechanism* Mechanism = nullptr;
  bool Polar = false;
  // Save the drawing and the graph as JPEG files of the given name; no graph saver: the graph
  // is hidden and the report has the drawing only.
  std::function<void(const std::string& fileName)> SaveDrawing;
  std::function<void(const std::string& fileName)> SaveGraph;
  // The graph's first series, the heading of its picture.
  std::string GraphSeriesName;

  // FileName with its extension replaced by "Mech.jpg" and "Graph.jpg".
  std::string DrawingFileName() const;
  std::string GraphFileName() const;

  // The report's lines in Windows-1252, each ended by CR LF; the pictures saved on the way are
  // added to pictures. Raises on the first failure of a picture or a table; out then holds the
  // lines written before it.
  void WriteLines(std::ostream& out, std::vector<std::string>& pictures) const;

  // Writes the report: the lines as ISO-8859-1 to FileName, replacing it only whole. An error
  // while making the lines ends them; its text is given back in error and what was made is
  // written all the same. Gives the files written, pictures first. Raises std::runtime_error
  // when the report file cannot be written; the pictures of this report are removed then.
  std::vector<std::string> Save(std::string& error) const;
};

}  // namespace quillon

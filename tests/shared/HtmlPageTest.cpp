// The texts the report pages put into HTML: report text as ISO-8859-1, file names as text and
// as URLs, picture names beside the report.
#include <gtest/gtest.h>

#include <string>

#include "shared/HtmlPage.h"

namespace shared {
namespace {

TEST(HtmlText, ReportTextAsLatin1) {
  struct Case {
    std::string cp1252;
    std::string html;
  };
  const Case cases[] = {
      {"plain <b>", "plain <b>"},
      // The letters both character sets share stay single bytes.
      {"Caf\xE9 \xA0\xFF", "Caf\xE9 \xA0\xFF"},
      // The bytes where Windows-1252 has letters of its own: € ‚ Ÿ “ ”.
      {"\x80\x82\x9F\x93\x94", "&#8364;&#8218;&#376;&#8220;&#8221;"},
      // Bytes Windows-1252 leaves unassigned.
      {"\x81\x8D\x8F\x90\x9D", "&#65533;&#65533;&#65533;&#65533;&#65533;"},
  };
  for (const Case& c : cases) EXPECT_EQ(Latin1Html(c.cp1252), c.html) << c.html;
}

TEST(HtmlText, FileNamesAsTextAndAsUrl) {
  struct Case {
    std::string path;
    std::string text;
    std::string url;
  };
  const Case cases[] = {
      {"/home/ann/report.html", "/home/ann/report.html", "/home/ann/report.html"},
      {"/tmp/a <&> \"b\".html", "/tmp/a &lt;&amp;&gt; &quot;b&quot;.html",
       "/tmp/a%20%3C%26%3E%20%22b%22.html"},
      // é is Latin-1, € and 漢 are not.
      {"/tmp/caf\xC3\xA9 \xE2\x82\xAC \xE6\xBC\xA2.html", "/tmp/caf\xE9 &#8364; &#28450;.html",
       "/tmp/caf%C3%A9%20%E2%82%AC%20%E6%BC%A2.html"},
      // A name of bytes that are no UTF-8: a lone continuation byte, an overlong "/", a cut-off
      // character at the end.
      {"/tmp/\x80x\xC0\xAFy\xE2\x82", "/tmp/&#65533;x&#65533;&#65533;y&#65533;&#65533;",
       "/tmp/%80x%C0%AFy%E2%82"},
      {"#?%;:", "#?%;:", "%23%3F%25%3B%3A"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileNameHtml(c.path), c.text) << c.path;
    EXPECT_EQ(FileNameUrl(c.path), c.url) << c.path;
  }
}

TEST(HtmlText, PictureNamesReplaceTheExtension) {
  EXPECT_EQ(ReplaceNameTail("/d/gear12.html", "Mech.bmp"), "/d/gear12Mech.bmp");
  EXPECT_EQ(ReplaceNameTail("/d/Untitled12", "Graph.bmp"), "/d/Untitled12Graph.bmp");
  // Only the last extension goes, and a dot in a folder name is no extension.
  EXPECT_EQ(ReplaceNameTail("/d.x/a.b.html", "Mech.bmp"), "/d.x/a.bMech.bmp");
}

}  // namespace
}  // namespace shared

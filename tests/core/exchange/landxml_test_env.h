#pragma once

#include <string>
#include <string_view>

#include "exchange_test_env.h"

namespace terravue::exchange::test {

// A LandXML document: the declaration on line 1, the root on line 2, the units on line 3 and
// the body from line 4 on, so that tests can name the lines of their elements.
inline std::string LandXmlDocumentText(std::string_view body,
                                       std::string_view units = R"(<Metric linearUnit="meter"/>)") {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  text += "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n";
  text += "<Units>" + std::string(units) + "</Units>\n";
  text += body;
  text += "</LandXML>\n";
  return text;
}

// One surface named `name`: a <P> per line from line 6, then a line that closes <Pnts>, then
// an <F> per line, then `source` (SourceData content) on its own lines.
inline std::string SurfaceBody(std::string_view name, std::initializer_list<std::string_view> points,
                               std::initializer_list<std::string_view> faces, std::string_view source = {}) {
  std::string body = "<Surfaces><Surface name=\"" + std::string(name) + "\">\n";
  body += "<Definition surfType=\"TIN\"><Pnts>\n";
  for (std::string_view p : points) body += std::string(p) + "\n";
  body += "</Pnts><Faces>\n";
  for (std::string_view f : faces) body += std::string(f) + "\n";
  body += "</Faces></Definition>\n";
  if (!source.empty()) body += "<SourceData>\n" + std::string(source) + "\n</SourceData>\n";
  body += "</Surface></Surfaces>\n";
  return body;
}

}  // namespace terravue::exchange::test

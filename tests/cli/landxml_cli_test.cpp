// terravue-cli landxml-import and landxml-export, run as a user runs them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_fixture.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

// Two surfaces of one site in US survey feet: the existing ground (a square and its centre, with
// its outline as the boundary) and a proposed pad (one triangle).
constexpr const char* kTwoSurfaces = R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">
<Units><Imperial linearUnit="USSurveyFoot"/></Units>
<Surfaces>
<Surface name="Existing"><SourceData><Boundaries><Boundary bndType="outer">
<PntList2D>100 200 100 210 110 210 110 200 100 200</PntList2D></Boundary></Boundaries></SourceData>
<Definition surfType="TIN"><Pnts>
<P id="1">100 200 5</P><P id="2">100 210 6</P><P id="3">110 210 7</P><P id="4">110 200 8</P><P id="5">105 205 9</P>
</Pnts><Faces><F>1 2 5</F><F>2 3 5</F><F>3 4 5</F><F>4 1 5</F></Faces></Definition></Surface>
<Surface name="Pad"><Definition surfType="TIN"><Pnts>
<P id="1">100 200 10</P><P id="2">100 210 10</P><P id="3">110 210 10</P>
</Pnts><Faces><F>1 2 3</F></Faces></Definition></Surface>
</Surfaces>
</LandXML>
)";

class LandXmlCli : public CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    Write("SITE.xml", kTwoSurfaces);
  }
};

TEST_F(LandXmlCli, ImportsTheNamedSurfaceWithItsFacesAsGiven) {
  const CliRun several = Cli("landxml-import SITE.xml -o SITE.MDL");
  EXPECT_EQ(several.exitCode, 1);
  EXPECT_NE(several.err.find("the file holds several surfaces; name one with --surface:\n"
                             "  Existing (5 points, 4 faces)\n  Pad (3 points, 1 faces)\n"),
            std::string::npos)
      << several.err;
  EXPECT_FALSE(fs::exists(dir_ / "SITE.MDL"));

  const CliRun wrong = Cli("landxml-import SITE.xml --surface Road -o SITE.MDL");
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_NE(wrong.err.find("the file has no surface named 'Road'"), std::string::npos) << wrong.err;

  const CliRun run = Cli("landxml-import SITE.xml --surface Existing -o SITE.MDL --save-settings SITE.VSF");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("Units: US survey feet"), std::string::npos) << run.err;
  EXPECT_EQ(Cli("triangles SITE.MDL").out, "1 2 5\n2 3 5\n3 4 5\n4 1 5\n");
  const CliRun info = Cli("info SITE.MDL");
  EXPECT_NE(info.out.find("Bordered: Yes"), std::string::npos) << info.out;
  EXPECT_NE(Cli("settings SITE.VSF").out.find("Preferences.Units = 0\n"), std::string::npos);
}

TEST_F(LandXmlCli, ExportsAModelThatReadsBack) {
  ASSERT_EQ(Cli("landxml-import SITE.xml --surface Existing -o SITE.MDL").exitCode, 0);
  // No extension: ".xml" is added.
  const CliRun out = Cli("landxml-export SITE.MDL -o BACK --units us-survey-foot");
  ASSERT_EQ(out.exitCode, 0) << out.err;
  EXPECT_NE(out.err.find("Surface saved as LandXML: 5 points, 4 triangles, 4 border points, 0 breaklines."),
            std::string::npos)
      << out.err;
  const std::string text = ReadAll(dir_ / "BACK.xml");
  EXPECT_NE(text.find("linearUnit=\"USSurveyFoot\""), std::string::npos);
  EXPECT_NE(text.find("<Application name=\"Terravue\""), std::string::npos);

  ASSERT_EQ(Cli("landxml-import BACK.xml -o BACK.MDL").exitCode, 0);
  EXPECT_EQ(Cli("triangles BACK.MDL").out, Cli("triangles SITE.MDL").out);
}

TEST_F(LandXmlCli, RefusesBadFilesAndArguments) {
  Write("BAD.xml", "<LandXML><Units/><Surfaces><Surface name=\"S\"><Definition><Pnts>\n"
                   "<P id=\"1\">0 0 0</P>\n<P id=\"1\">0 1 0</P>\n</Pnts></Definition></Surface></Surfaces></LandXML>");
  const CliRun bad = Cli("landxml-import BAD.xml -o BAD.MDL");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("Line 3: <P id=\"1\"> repeats the id of line 2."), std::string::npos) << bad.err;
  EXPECT_FALSE(fs::exists(dir_ / "BAD.MDL"));

  EXPECT_EQ(Cli("landxml-import SITE.xml").exitCode, 2);
  EXPECT_EQ(Cli("landxml-import SITE.xml -o SITE.TXT").exitCode, 2);
  EXPECT_EQ(Cli("landxml-import SITE.xml --surface -o SITE.MDL").exitCode, 2);
  EXPECT_EQ(Cli("landxml-export SITE.MDL").exitCode, 2);
  EXPECT_EQ(Cli("landxml-export SITE.MDL -o OUT.xml --units furlong").exitCode, 2);
  EXPECT_EQ(Cli("landxml-export MISSING.MDL -o OUT.xml").exitCode, 1);
}

}  // namespace
}  // namespace terravue::cli

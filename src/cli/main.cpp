// terravue-cli: the engine on the command line.
//
//   terravue-cli VERB ARGS [--settings FILE] [--yes|--no] [-o FILE]

#include "verbs.h"

namespace terravue::cli {
namespace {

constexpr Verb kVerbs[] = {
    {"settings", RunSettings,
     "settings [FILE]               print the named fields of a settings file (default: built-in)\n"
     "  settings --defaults -o FILE    write the built-in settings image"},
    {"info", RunInfo, "info MODEL                     print the surface properties of a model file"},
    {"sample", RunSample,
     "sample -o FILE [--sheet SETTINGS.VSF]\n"
     "                                 write the bundled sample site model (and its sheet settings)"},
    {"import", RunImport,
     "import POINTS [--format CODES | --entry N] [--remove-duplicates]\n"
     "    [--border FILE [--border-format CODES | --border-entry N]]\n"
     "    [--breaklines FILE [--breakline-format CODES | --breakline-entry N]]\n"
     "    [--match-labels] [--append MODEL] [--triangulate] [--accept-partial] -o MODEL\n"
     "                                 read ASCII points (border, breaklines) into a model"},
    {"export", RunExport,
     "export MODEL (--points | --border | --breaklines) OUT [--format CODES | --entry N]\n"
     "                                 write a model's points, border or breaklines as ASCII"},
    {"landxml-import", RunLandXmlImport,
     "landxml-import FILE.xml [--surface NAME] -o MODEL [--save-settings FILE]\n"
     "                                 read a LandXML surface (points, faces, border, breaklines)"},
    {"landxml-export", RunLandXmlExport,
     "landxml-export MODEL -o FILE.xml [--units meter|foot|us-survey-foot]\n"
     "                                 write a model as a LandXML 1.2 surface"},
    {"triangulate", RunTriangulate,
     "triangulate MODEL [-o OUT]      triangulate a model and write it (back, or to OUT)"},
    {"triangles", RunTriangles, "triangles MODEL                print each triangle's corner point numbers"},
    {"pairs", RunPairs,
     "pairs MODEL [--within D]       list the pairs of points closer than D (default 0.001) and\n"
     "                                 those at the same place, which stop a triangulation"},
    {"edit", RunEdit,
     "edit MODEL [--add-point X Y Z [--label L]]... [--delete-point N]... [--move-point N X Y Z]...\n"
     "    -o OUT                       add, delete and move points in order, as the point commands do"},
    {"verify", RunVerify,
     "verify MODEL [--tolerance DX DY] [--at X Y] [--report OUT]\n"
     "                                 list the pairs of points within DX and DY of each other\n"
     "                                 (or the points near X Y), as Verify does"},
    {"remove", RunRemove,
     "remove MODEL (--inside | --outside | --both) -o OUT\n"
     "                                 delete the points off the border inside it, outside it or both"},
    {"list", RunList,
     "list MODEL (--points [--range A B] | --border | --breaklines [--range A B]) [--report OUT]\n"
     "                                 print the point, border or breakline listing"},
    {"transform", RunTransform,
     "transform MODEL (--factor FX FY FZ | --translate DX DY DZ | --rotate DEGREES --about X Y) -o OUT\n"
     "                                 factor, translate or rotate every point"},
    {"auto", RunAuto,
     "auto POINTS [--format CODES | --entry N] [--remove-duplicates]\n"
     "    [--border FILE [--border-format CODES | --border-entry N]]\n"
     "    [--breaklines FILE [--breakline-format CODES | --breakline-entry N]]\n"
     "    [--match-labels] [--append MODEL] [--accept-partial] -o MODEL\n"
     "                                 Auto Process: load, verify, border and triangulate in one run"},
    {"volume", RunVolume,
     "volume EXISTING PROPOSED | --single MODEL [--cut-factor F] [--fill-factor F]\n"
     "    [--list-cutfill[-existing|-proposed]] [--skip-zero-cutfill] [--comment TEXT]...\n"
     "    [--report OUT.TXT]\n"
     "                                 print the cut and fill between two surfaces (report)"},
    {"analyze", RunAnalyze,
     "analyze MODEL (--info | --slope-zones [--zones N --min S --max S] | --water-drop X Y |\n"
     "    --watershed X Y | --contour-line X Y | --query-triangle X Y | --length X1 Y1 X2 Y2 [X Y]...)\n"
     "    [--report OUT.TXT]\n"
     "                                 surface statistics, slope zones, traces and measurements"},
    {"map", RunMap,
     "map MODEL (--pdf OUT.pdf | --png OUT.png) [--scale S] [--dpi N]\n"
     "    [--paper letter|legal|tabloid|a4|a3|a2|a1|a0|ansi-c|ansi-d] [--landscape | --portrait]\n"
     "    [--contours INTERVAL [--index N] [--labels]] [--cut-fill PROPOSED]\n"
     "    [--view3d [--view-offset DX DY DZ] [--target X Y Z] [--elevation-factor F] [--eye F] [--shaded]]\n"
     "                                 draw the sheet as Print lays it out (vector PDF or PNG)"},
    {"dxf", RunDxf,
     "dxf MODEL OUT [--program autocad|autosketch|generic|general]\n"
     "    [--contours INTERVAL [--index N] [--labels]] [--cut-fill PROPOSED]\n"     "                                 write the map as Output To CAD does (DXF, MCR or GXM)"},
};

}  // namespace
}  // namespace terravue::cli

int main(int argc, char** argv) {
  return terravue::cli::RunVerb(argc, argv, terravue::cli::kVerbs);
}

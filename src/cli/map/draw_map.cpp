// terravue-cli map: the sheet as Print lays it out, into a vector PDF or a PNG. Drawing needs
// Qt's painters, so this runs in the sheet painter, terravue-cli-map, which the batch tool
// starts for this verb alone.

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include <QGuiApplication>
#include <QtGlobal>
#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "analysis/cut_fill_map.h"
#include "common/format.h"
#include "common/safe_file.h"
#include "common/view3d_settings.h"
#include "device/scale_presets.h"
#include "common/session.h"
#include "mapping/map_redraw.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"
#include "device/page_setup.h"
#include "device/page_setup_settings.h"
#include "render/printer_device.h"
#include "tin/geometry.h"
#include "cli_common.h"
#include "map/draw_map.h"
#include "verbs.h"

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* Usage =
    "usage: terravue-cli map MODEL (--pdf OUT.pdf | --png OUT.png) [--settings FILE] [--scale S] [--dpi N]\n"
    "           [--paper letter|legal|tabloid|a4|a3|a2|a1|a0|ansi-c|ansi-d] [--landscape | --portrait]\n"
    "           [--contours INTERVAL [--index N] [--labels]] [--cut-fill PROPOSED]\n"
    "           [--view3d [--view-offset DX DY DZ] [--target X Y Z] [--elevation-factor F] [--eye F]\n"
    "            [--shaded]]\n"
    "  Without --paper and --landscape the paper of the settings is used (Letter portrait if none).\n"
    "  --cut-fill compares the model with PROPOSED as Volume > Two Surfaces does and draws the\n"
    "  cut/fill map of their differences.\n";

int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "map", problem, Usage);
}

constexpr int PdfDotsPerInch = 600;  // as the PDF printer prints
constexpr int PngDotsPerInch = 300;
constexpr int MinDotsPerInch = 50;
constexpr int MaxDotsPerInch = 1200;

constexpr double MinEyeFactor = -50;
constexpr double MaxEyeFactor = 1;

// The 3-D view: what is not given comes from the settings' 3-D section (the target from the
// model's extents, as loading it sets).
struct View3DRequest {
  bool on = false;
  std::optional<std::array<double, 3>> viewOffset, target;
  std::optional<double> elevationFactor, eyeFactor;
  bool shaded = false;
};

struct MapRequest {
  std::string model;
  std::optional<std::string> pdf, png;
  std::optional<double> scale;
  std::optional<int> dpi;
  View3DRequest view3D;
  std::optional<std::string> cutFill;
  const device::Paper* paper = nullptr;  // nothing: the paper of the settings
  std::optional<bool> landscape;
  ContourRequest contours;
};

// The paper the sheet is laid out on, turned or not.
struct Sheet {
  const device::Paper& paper;
  bool landscape;
};

// --pdf, --png, --scale and --dpi take the next argument, which the shared parser took for a
// positional one; so the arguments are read again here.
std::optional<std::string> ParseRequest(const Args& args, MapRequest& r) {
  std::optional<std::string> model;
  for (std::size_t i = 0; i < args.all.size(); ++i) {
    const std::string& a = args.all[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.all.size()) return std::nullopt;
      return args.all[++i];
    };
    if (a == "--settings") {
      ++i;
    } else if (a == "--yes" || a == "--no") {
    } else if (a == "--pdf" || a == "--png") {
      const auto v = value();
      if (!v || v->empty()) return a + " needs a file";
      (a == "--pdf" ? r.pdf : r.png) = *v;
    } else if (a == "--cut-fill") {
      const auto v = value();
      if (!v || v->empty()) return std::string("--cut-fill needs the proposed model file");
      r.cutFill = *v;
    } else if (a == "--scale") {
      const auto v = value();
      const auto scale = v ? ParseReal(*v) : std::nullopt;
      // What Set Scale takes: positive, and no larger than a sheet can show.
      if (!scale || !(*scale > 0) || *scale > device::PageSetup::MaximumScale)
        return "--scale needs a positive number up to " + FormatReal(device::PageSetup::MaximumScale, 0, 0);
      r.scale = *scale;
    } else if (a == "--dpi") {
      const auto v = value();
      const auto dpi = v ? ParseInteger(*v) : std::nullopt;
      if (!dpi || *dpi < MinDotsPerInch || *dpi > MaxDotsPerInch)
        return "--dpi needs a whole number from " + std::to_string(MinDotsPerInch) + " to " +
               std::to_string(MaxDotsPerInch);
      r.dpi = static_cast<int>(*dpi);
    } else if (a == "--view3d") {
      r.view3D.on = true;
    } else if (a == "--shaded") {
      r.view3D.shaded = true;
    } else if (a == "--view-offset" || a == "--target") {
      std::array<double, 3> xyz{};
      for (double& c : xyz) {
        const auto v = value();
        const auto number = v ? ParseReal(*v) : std::nullopt;
        if (!number) return a + " needs three numbers";
        c = *number;
      }
      (a == "--target" ? r.view3D.target : r.view3D.viewOffset) = xyz;
    } else if (a == "--elevation-factor") {
      const auto v = value();
      const auto factor = v ? ParseReal(*v) : std::nullopt;
      if (!factor) return std::string("--elevation-factor needs a number");
      r.view3D.elevationFactor = *factor;
    } else if (a == "--eye") {
      const auto v = value();
      const auto eye = v ? ParseReal(*v) : std::nullopt;
      if (!eye || *eye < MinEyeFactor || *eye > MaxEyeFactor)
        return std::string("--eye needs a number from -50 to 1");
      r.view3D.eyeFactor = *eye;
    } else if (a == "--paper") {
      const auto v = value();
      r.paper = v ? device::PaperByOption(*v) : nullptr;
      if (!r.paper) return std::string("--paper takes letter, legal, tabloid, a4, a3, a2, a1, a0, ansi-c or ansi-d");
    } else if (a == "--landscape" || a == "--portrait") {
      r.landscape = a == "--landscape";
    } else if (const auto taken = TakeContourOption(args.all, i, r.contours)) {
      if (!taken->empty()) return *taken;
    } else if (a == "-o" || a == "--output") {
      return std::string("-o is not used; name the output with --pdf or --png");
    } else if (a.starts_with("--")) {
      return "unknown option '" + a + "'";
    } else if (model) {
      return "unexpected argument '" + a + "'";
    } else {
      model = a;
    }
  }
  if (!model || model->empty()) return std::string("name one model file");
  if (!r.pdf && !r.png) return std::string("--pdf OUT.pdf or --png OUT.png is needed");
  const View3DRequest& v = r.view3D;
  if (!v.on && (v.viewOffset || v.target || v.elevationFactor || v.eyeFactor || v.shaded))
    return std::string("the 3-D view's options need --view3d");
  if (auto problem = CheckContourRequest(r.contours)) return problem;
  r.model = *model;
  return std::nullopt;
}

// Lays the page out on the paper at `dpi`, as Print does on the PDF printer, and fits the model
// as loading one does (or applies the scale); text heights and marker sizes then follow the
// scale presets.
bool LayOutSheet(Session& session, const Sheet& sheet, std::optional<double> scale, int dpi, Context& cx) {
  SettingsRecord& s = session.settings;
  device::SetUpPage(s, device::PaperDescription(sheet.paper, sheet.landscape, dpi));
  device::FitModel(s, session.model, !scale);
  if (scale && !device::ApplyScale(s, *scale)) {
    cx.err << "terravue-cli: map: the scale " << FormatReal(*scale, 0, 3)
           << " is below the smallest the sheet allows (" << FormatReal(s.Get(device::PageSetup::MinimumScale), 0, 3)
           << ")\n";
    return false;
  }
  device::ApplyScalePreset(s);
  return true;
}

// Switches the 3-D view on with what the request gives; loading the model switched it off and
// aimed it at the model's middle.
void ApplyView3D(SettingsRecord& s, const View3DRequest& r) {
  namespace v3 = settings::View3DOptions;
  if (!r.on) return;
  s.Set(v3::View3D, true);
  if (r.shaded) s.Set(v3::ShadedSurface, true);
  if (r.viewOffset) {
    s.Set(v3::ViewOffsetX, (*r.viewOffset)[0]);
    s.Set(v3::ViewOffsetY, (*r.viewOffset)[1]);
    s.Set(v3::ViewOffsetZ, (*r.viewOffset)[2]);
  }
  if (r.target) {
    s.Set(v3::TargetX, (*r.target)[0]);
    s.Set(v3::TargetY, (*r.target)[1]);
    s.Set(v3::TargetZ, (*r.target)[2]);
  }
  if (r.elevationFactor) s.Set(v3::ElevationFactor, *r.elevationFactor);
  if (r.eyeFactor) s.Set(v3::EyeFactor, *r.eyeFactor);
}

// Draws the map onto `painter`, whose origin is the paper's corner, as a printer would. False
// when an element of too many lines was not drawn (the question was answered No).
bool DrawSheet(Session& session, QPainter& painter, const mapping::RedrawOptions& extras) {
  SettingsRecord& s = session.settings;
  const device::MapColourSwap colours(s, s.Get(device::PageSetup::BlackAndWhite));
  painter.translate(s.Get(device::PageSetup::MarginLeft), s.Get(device::PageSetup::MarginTop));
  render::PrinterDevice device(device::CurrentViewTransform(s, session.model), device::PrinterFrame(s), painter);
  tin::LocateState state;
  const bool whole = mapping::RedrawMap(session, device, state, extras);
  device.Finish();
  return whole;
}

bool CannotWrite(Context& cx, const fs::path& target, const FileProblem& problem) {
  cx.err << "terravue-cli: map: cannot write '" << target.string() << "'\n" << problem.Line() << '\n';
  return false;
}

// The question before an element of too many lines was answered No: no sheet without it.
bool NotDrawn(Context& cx, const fs::path& target) {
  cx.err << "terravue-cli: map: the map was not drawn in full; '" << target.string() << "' was not written\n";
  return false;
}

// Qt's PDF and image writers report no write errors, so they write into memory; the bytes then
// go to the file created (before the drawing, so that a name that is no file is refused at
// once) by a ReplacingFile, which checks that the file ends as such a file ends and reports the
// system's reason for any failure.
bool Store(ReplacingFile& file, const QByteArray& bytes, ExpectedEnding ending, Context& cx) {
  file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (file.Commit(ending)) return true;
  return CannotWrite(cx, file.Target(), *file.Problem());
}

constexpr ExpectedEnding PdfEnding{"%%EOF", 32};
constexpr ExpectedEnding PngEnding{std::string_view("IEND\xAE\x42\x60\x82", 8)};

bool WritePdf(Session& session, const Sheet& sheet, const fs::path& target, const mapping::RedrawOptions& extras,
              Context& cx) {
  ReplacingFile file;
  if (!file.Create(target)) return CannotWrite(cx, target, *file.Problem());
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&bytes);
    writer.setResolution(session.settings.Get(device::PageSetup::DotsPerInchX));
    // The page is the paper itself, turned as the sheet is laid out.
    const double across = sheet.landscape ? sheet.paper.heightInches : sheet.paper.widthInches;
    const double down = sheet.landscape ? sheet.paper.widthInches : sheet.paper.heightInches;
    writer.setPageSize(QPageSize(QSizeF(across, down), QPageSize::Inch, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("terravue-cli"));
    QPainter painter;
    if (!painter.begin(&writer)) return CannotWrite(cx, target, {file.Target(), "the PDF could not be started"});
    const bool whole = DrawSheet(session, painter, extras);
    const bool ended = painter.end();
    if (!whole) return NotDrawn(cx, target);
    if (!ended) return CannotWrite(cx, target, {file.Target(), "the PDF could not be finished"});
  }
  return Store(file, bytes.data(), PdfEnding, cx);
}

bool WritePng(Session& session, const fs::path& target, int dpi, const mapping::RedrawOptions& extras,
              Context& cx) {
  ReplacingFile file;
  if (!file.Create(target)) return CannotWrite(cx, target, *file.Problem());
  const SettingsRecord& s = session.settings;
  QImage image(s.Get(device::PageSetup::PaperWidth), s.Get(device::PageSetup::PaperHeight), QImage::Format_RGB32);
  if (image.isNull()) {
    cx.err << "terravue-cli: map: not enough memory for a " << dpi << " dpi picture\n";
    return false;
  }
  const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (!DrawSheet(session, painter, extras)) return NotDrawn(cx, target);
  }
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  if (!image.save(&bytes, "PNG")) return CannotWrite(cx, target, {file.Target(), "the picture could not be encoded"});
  return Store(file, bytes.data(), PngEnding, cx);
}

}  // namespace

int DrawMap(const Args& args, Context& cx) {
  MapRequest request;
  if (const auto problem = ParseRequest(args, request)) return UsageError(cx, *problem);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, request.model)) return ExitFailed;
  ApplyView3D(session.settings, request.view3D);
  analysis::CutFillMap cutFill;
  mapping::RedrawOptions extras;
  if (!UseCutFillMap(session, request.cutFill, cutFill, extras)) return ExitFailed;
  ApplyContourRequest(session.settings, request.contours);

  // Painting text needs an application object; without a display it draws offscreen. The
  // toolkit's own notes about its environment are no concern of a batch run: only its errors
  // reach stderr.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "terravue-cli: map: %s\n", qPrintable(text));
  });
  int argc = 1;
  char name[] = "terravue-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);

  const SettingsRecord& s = session.settings;
  const Sheet sheet{request.paper ? *request.paper : device::ChosenPaper(s),
                    request.landscape.value_or(s.Get(device::PageSetup::Landscape))};
  if (request.pdf) {
    const int dpi = request.dpi.value_or(PdfDotsPerInch);
    if (!LayOutSheet(session, sheet, request.scale, dpi, cx) || !WritePdf(session, sheet, *request.pdf, extras, cx))
      return ExitFailed;
    cx.out << *request.pdf << '\n';
  }
  if (request.png) {
    const int dpi = request.dpi.value_or(PngDotsPerInch);
    if (!LayOutSheet(session, sheet, request.scale, dpi, cx) || !WritePng(session, *request.png, dpi, extras, cx))
      return ExitFailed;
    cx.out << *request.png << '\n';
  }
  return cx.out.good() ? ExitOk : ExitFailed;
}

}  // namespace terravue::cli

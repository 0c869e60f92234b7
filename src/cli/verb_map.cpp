// terravue-cli map: the sheet as Print lays it out, into a vector PDF or a PNG.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "cli_common.h"
#include "verbs.h"

#ifdef TERRAVUE_HAVE_RENDER
#include <QGuiApplication>
#include <QtGlobal>
#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "common/format.h"
#include "common/safe_file.h"
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
#endif

namespace terravue::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* Usage =
    "usage: terravue-cli map MODEL (--pdf OUT.pdf | --png OUT.png) [--settings FILE] [--scale S] [--dpi N]\n";

[[maybe_unused]] int UsageError(Context& cx, std::string_view problem) {
  return cli::UsageError(cx, "map", problem, Usage);
}

#ifdef TERRAVUE_HAVE_RENDER

constexpr int PdfDotsPerInch = 600;  // as the PDF printer prints
constexpr int PngDotsPerInch = 300;
constexpr int MinDotsPerInch = 50;
constexpr int MaxDotsPerInch = 1200;

struct MapRequest {
  std::string model;
  std::optional<std::string> pdf, png;
  std::optional<double> scale;
  std::optional<int> dpi;
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
  r.model = *model;
  return std::nullopt;
}

// The sheet when no printer is set up, Letter portrait, at `dpi`: what Print does on the PDF
// printer.
device::PrinterDescription LetterAt(int dpi) {
  device::PrinterDescription p = device::NoPrinterDescription();
  const double f = dpi / p.dotsPerInchX;
  p.present = true;
  p.dotsPerInchX = p.dotsPerInchY = dpi;
  p.paperWidth = static_cast<int>(std::lround(p.paperWidth * f));
  p.paperHeight = static_cast<int>(std::lround(p.paperHeight * f));
  p.offsetX = static_cast<int>(std::lround(p.offsetX * f));
  p.offsetY = static_cast<int>(std::lround(p.offsetY * f));
  p.pageWidth = static_cast<int>(std::lround(p.pageWidth * f));
  p.pageHeight = static_cast<int>(std::lround(p.pageHeight * f));
  return p;
}

// Lays the page out for `dpi` and fits the model as loading one does (or applies the scale);
// text heights and marker sizes then follow the scale presets.
bool LayOutSheet(Session& session, int dpi, std::optional<double> scale, Context& cx) {
  SettingsRecord& s = session.settings;
  device::SetUpPage(s, LetterAt(dpi));
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

// Draws the map onto `painter`, whose origin is the paper's corner, as a printer would. False
// when an element of too many lines was not drawn (the question was answered No).
bool DrawSheet(Session& session, QPainter& painter) {
  SettingsRecord& s = session.settings;
  const device::MapColourSwap colours(s, s.Get(device::PageSetup::BlackAndWhite));
  painter.translate(s.Get(device::PageSetup::MarginLeft), s.Get(device::PageSetup::MarginTop));
  render::PrinterDevice device(device::CurrentViewTransform(s, session.model), device::PrinterFrame(s), painter);
  tin::LocateState state;
  const bool whole = mapping::RedrawMap(session, device, state);
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

bool WritePdf(Session& session, const fs::path& target, Context& cx) {
  ReplacingFile file;
  if (!file.Create(target)) return CannotWrite(cx, target, *file.Problem());
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&bytes);
    writer.setResolution(session.settings.Get(device::PageSetup::DotsPerInchX));
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("terravue-cli"));
    QPainter painter;
    if (!painter.begin(&writer)) return CannotWrite(cx, target, {file.Target(), "the PDF could not be started"});
    const bool whole = DrawSheet(session, painter);
    painter.end();
    if (!whole) return NotDrawn(cx, target);
  }
  return Store(file, bytes.data(), PdfEnding, cx);
}

bool WritePng(Session& session, const fs::path& target, int dpi, Context& cx) {
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
    if (!DrawSheet(session, painter)) return NotDrawn(cx, target);
  }
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  if (!image.save(&bytes, "PNG")) return CannotWrite(cx, target, {file.Target(), "the picture could not be encoded"});
  return Store(file, bytes.data(), PngEnding, cx);
}

#endif

}  // namespace

int RunMap(const Args& args, Context& cx) {
#ifndef TERRAVUE_HAVE_RENDER
  (void)args;
  cx.err << "terravue-cli: map: this build draws no sheets (configure with TERRAVUE_BUILD_GUI=ON)\n";
  return ExitFailed;
#else
  MapRequest request;
  if (const auto problem = ParseRequest(args, request)) return UsageError(cx, *problem);

  Workspace workspace(cx.port);
  if (!workspace.Open(args, cx)) return ExitFailed;
  Session& session = workspace.session;
  if (!model::OpenModelByName(session, request.model)) return ExitFailed;

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

  if (request.pdf) {
    const int dpi = request.dpi.value_or(PdfDotsPerInch);
    if (!LayOutSheet(session, dpi, request.scale, cx) || !WritePdf(session, *request.pdf, cx)) return ExitFailed;
    cx.out << *request.pdf << '\n';
  }
  if (request.png) {
    const int dpi = request.dpi.value_or(PngDotsPerInch);
    if (!LayOutSheet(session, dpi, request.scale, cx) || !WritePng(session, *request.png, dpi, cx))
      return ExitFailed;
    cx.out << *request.png << '\n';
  }
  return cx.out.good() ? ExitOk : ExitFailed;
#endif
}

}  // namespace terravue::cli

// Benchmark of the Qt list widget as a browse pages on every key: each step hands the
// widget a new presentation of one page (11 rows of the encrypted file's 6 columns, a
// coloured first column, the selected row, header and scroll bars) and paints it, on the
// offscreen platform. Printed in microseconds per key, beside a baseline measured in the
// same run: the same cells (backgrounds and texts, in the same font) painted straight onto
// an image of the same size with QPainter, the least any widget must do; and their ratio.
//
// Usage: bench_list_view [--keys N]
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <string>

#include "bench/support/bench_support.h"
#include "runtime/view/qt/font_mapping.h"
#include "runtime/view/qt/list_widget.h"

namespace qx {
namespace {

constexpr int kRows = 11;
constexpr LONG kWidths[] = {56, 64, 80, 80, 80, 80};

ControlPresentation Page(int first) {
  ControlPresentation c;
  c.field = 1;
  c.kind = "list";
  c.at = DialogRect{8, 20, 342, 124};
  ListPresentation l;
  for (LONG w : kWidths) {
    ListColumnPresentation col;
    col.width = w;
    col.justify = w == 80 ? Justify::kLeft : Justify::kRight;
    col.indent = 2;
    col.header = "Header";
    col.rightBorder = true;
    l.columns.push_back(col);
  }
  l.columns[0].colours = true;
  l.header = true;
  l.headerHeight = 10;
  l.rowHeight = 9;
  l.rowCount = 1000000;
  l.topRow = first;
  l.visibleRows = kRows;
  l.selectedRow = first + 3;
  l.immediate = true;
  l.vScroll = l.hScroll = true;
  l.thumb = l.thumbDrawn = first % 101;
  for (int r = 0; r < kRows; ++r) {
    ListRowPresentation row;
    row.entry = first + r;
    row.selected = row.entry == l.selectedRow;
    for (size_t c2 = 0; c2 < l.columns.size(); ++c2) {
      ListCellPresentation cell;
      cell.text = c2 < 2 ? std::to_string(first * 7 + r) : "Name of " + std::to_string(first + r);
      if (c2 == 0) cell.colour = 0xFFFFFF, cell.background = 0x808080;
      row.cells.push_back(cell);
    }
    l.rows.push_back(row);
  }
  c.list = std::move(l);
  return c;
}

}  // namespace
}  // namespace qx

int main(int argc, char** argv) {
  const int keys = static_cast<int>(qx::bench::NumberFlag(argc, argv, "--keys", 2000));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  using namespace qx;
  const QFont font = QtFontFor("MS Sans Serif", 8, 0, false);
  WindowStyle style;
  style.units = DialogUnits(font);
  style.font = font;
  QWidget window;
  window.setFont(font);
  auto* list = new ListWidget(&window, 1, 1);
  const QRect at = style.units.ToPixels(8, 20, 342, 124);
  list->setGeometry(at);
  window.resize(at.right() + 20, at.bottom() + 20);
  window.show();

  // The widget: a new page shown and painted (its frame, header, rows and scroll bars) for
  // every key, into an image as the window's backing store would be.
  QImage image(at.size(), QImage::Format_ARGB32_Premultiplied);
  const auto widgetStart = bench::Clock::now();
  for (int k = 0; k < keys; ++k) {
    style.revision = static_cast<std::uint64_t>(k + 1);
    list->Show(Page(1 + k), style);
    list->render(&image);
  }
  const auto widgetEnd = bench::Clock::now();

  // The baseline: the same page's cells painted onto the same image.
  const int rowHeight = style.units.ToPixelsY(9), top = style.units.ToPixelsY(10);
  const auto baseStart = bench::Clock::now();
  for (int k = 0; k < keys; ++k) {
    const ControlPresentation page = Page(1 + k);
    QPainter p(&image);
    p.setFont(font);
    p.fillRect(image.rect(), Qt::white);
    for (int r = 0; r < kRows; ++r) {
      int x = 0;
      for (size_t c = 0; c < page.list->columns.size(); ++c) {
        const int w = style.units.ToPixelsX(static_cast<int>(kWidths[c]));
        const QRect cell(x, top + r * rowHeight, w, rowHeight);
        if (c == 0) p.fillRect(cell, QColor(0x80, 0x80, 0x80));
        p.drawText(cell, Qt::AlignVCenter | Qt::AlignLeft, QString::fromLatin1(page.list->rows[r].cells[c].text.c_str()));
        x += w;
      }
    }
  }
  const auto baseEnd = bench::Clock::now();
  const double widget = bench::Microseconds(widgetStart, widgetEnd) / keys,
               base = bench::Microseconds(baseStart, baseEnd) / keys;
  std::printf("list widget, a new page of %d rows per key: %8.1f us/key\n", kRows, widget);
  std::printf("baseline, the same cells onto an image:     %8.1f us/key\n", base);
  std::printf("ratio: %.2f  (%d keys)\n", widget / base, keys);
  return 0;
}

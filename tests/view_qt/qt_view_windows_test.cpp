// Windows on the screen: a window is painted before the program goes on, it has the size
// its dialog units give in its font and opens centred, a window without a caption draws
// its own border, texts are Latin-1, the wait cursor follows the model, and screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>

#include "runtime/view/qt/dialog_units.h"
#include "runtime/sys/runtime_lock.h"
#include "runtime/view/qt/font_mapping.h"
#include "tests/view_qt/qt_view_test_support.h"

namespace qx::qttest {
namespace {

// Counts paints of a window's widgets, to compare with the moment the program went on.
class PaintClock : public QObject {
 public:
  explicit PaintClock(std::atomic<int>& clock) : clock_(clock) { qApp->installEventFilter(this); }
  ~PaintClock() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && firstPaint == 0) {
      for (QObject* o = watched; o; o = o->parent()) {
        if (o->property(kWindowIdProperty).isValid()) {
          firstPaint = ++clock_;
          break;
        }
      }
    }
    return false;
  }
  std::atomic<int> firstPaint{0};

 private:
  std::atomic<int>& clock_;
};

TEST(QtViewWindows, OpeningAndRedrawingWaitUntilTheWindowIsPainted) {
  std::atomic<int> clock{0};
  PaintClock paints(clock);
  std::atomic<int> opened{0};
  std::atomic<LONG> id{0};
  Journal journal;
  Program program([&] {
    WindowRef w;
    LONG count = 7;
    RtNewWindow(w, "qtview$unit", "WELCOME", {count});
    id = w.id;
    RtOpenWindow(w);
    opened = ++clock;
    RtCloseWindow(w);
    RtDisposeWindow(w);
  });
  ASSERT_TRUE(program.Finish());
  ASSERT_NE(paints.firstPaint.load(), 0) << "the window was never painted";
  EXPECT_LT(paints.firstPaint.load(), opened.load()) << "RtOpenWindow returned before the window was painted";
  EXPECT_TRUE(QTest::qWaitFor([&] { return TheView().desktop().Shell(id) == nullptr; }))
      << "a closed window leaves the screen";
}

TEST(QtViewWindows, SizeFromDialogUnitsCentredWithLatin1Title) {
  std::atomic<LONG> id{0};
  std::atomic<bool> retitled{false};
  Journal journal;
  Program program([&] {
    WindowRef w;
    LONG count = 42;
    STRING<20> name;
    RtNewWindow(w, "qtview$unit", "PLAIN", {name, count});
    id = w.id;
    RtOpenWindow(w);
    RtSetProperty(w, 0, kPropText, "Caf\xE9 \xBD");
    RtDisplay();
    retitled = true;
    RunLoop(journal);
    RtDisposeWindow(w);
  });
  WindowShell* shell = WaitForShell(id);
  ASSERT_NE(shell, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return retitled.load(); }));
  QTest::qWait(50);
  QWidget* body = shell->outer();
  const DialogUnits units(QtFontFor("MS Sans Serif", 8, 0, false));
  EXPECT_EQ(body->size(), QSize(units.ToPixelsX(160), units.ToPixelsY(80)));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs(body->frameGeometry().center().x() - screen.center().x()), 1) << "centred, frame and all";
  EXPECT_LE(std::abs(body->frameGeometry().center().y() - screen.center().y()), 1);
  EXPECT_EQ(body->windowTitle(), QString::fromUtf8("Caf\u00e9 \u00bd"));
  // A string shows its value through its picture; the prompt its text.
  ASSERT_NE(ControlWidget(shell, 5), nullptr);
  EXPECT_EQ(ControlWidget(shell, 5)->geometry(), QRect(units.ToPixelsX(4), units.ToPixelsY(24), units.ToPixelsX(30),
                                                       units.ToPixelsY(10)));
  ViewInput::Close(id);
  ASSERT_TRUE(program.Finish());
}

TEST(QtViewWindows, WindowWithoutCaptionDrawsItsOwnBorderOnItsGround) {
  std::atomic<LONG> id{0};
  std::atomic<bool> done{false};
  Program program([&] {
    WindowRef w;
    RtNewWindow(w, "qtview$unit", "WELCOME");
    id = w.id;
    RtOpenWindow(w);
    while (!done) {
      WaitOutsideRuntime wait;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    RtDisposeWindow(w);
  });
  WindowShell* shell = WaitForShell(id);
  ASSERT_NE(shell, nullptr);
  QWidget* body = shell->outer();
  EXPECT_TRUE(body->windowFlags() & Qt::FramelessWindowHint);
  const DialogUnits units(QtFontFor("Arial", 8, 0, false));
  EXPECT_EQ(body->size(), QSize(units.ToPixelsX(110) + 2, units.ToPixelsY(34) + 2)) << "a pixel of border each side";
  ASSERT_TRUE(QTest::qWaitFor([&] { return shell->DrawnUpToDate(); }));
  const QImage picture = body->grab().toImage();
  const QColor ground = QApplication::palette().color(QPalette::Midlight);  // system colour 0
  EXPECT_EQ(picture.pixelColor(0, 0), QApplication::palette().color(QPalette::WindowText)) << "the border";
  EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() / 2),
            QApplication::palette().color(QPalette::WindowText));
  const QColor inside = picture.pixelColor(picture.width() - 4, picture.height() - 4);
  // Compared in 8 bits a channel, as the screen holds them.
  EXPECT_LE(std::abs(inside.red() - ground.red()) + std::abs(inside.blue() - ground.blue()), 2) << "the window's ground";
  done = true;
  ASSERT_TRUE(program.Finish());
}

TEST(QtViewWindows, WaitCursorFollowsTheModel) {
  std::atomic<LONG> id{0};
  std::atomic<int> step{0};
  Program program([&] {
    WindowRef w;
    RtNewWindow(w, "qtview$unit", "WELCOME");
    id = w.id;
    RtSetCursor(kCursorWait);
    RtOpenWindow(w);
    step = 1;
    while (step == 1) {
      WaitOutsideRuntime wait;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    RtSetCursor(0);
    RtDisplay();
    step = 3;
    RtDisposeWindow(w);
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return step.load() == 1; }));
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  step = 2;
  ASSERT_TRUE(program.Finish());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtViewWindows, ScreenshotsOfWindowsAndBoxes) {
  QTemporaryDir dir;
  std::atomic<LONG> id{0};
  std::string windowError, boxError, guiError;
  bool windowSaved = false, boxSaved = false;
  int width = 0, height = 0, boxWidth = 0, boxHeight = 0;
  const std::string path = dir.filePath("welcome.png").toStdString();
  const std::string boxPath = dir.filePath("box.png").toStdString();
  std::atomic<bool> boxAsked{false};
  Program program([&] {
    WindowRef w;
    RtNewWindow(w, "qtview$unit", "WELCOME");
    id = w.id;
    RtOpenWindow(w);
    // From this (a non-GUI) thread, as the automation channel asks.
    windowSaved = RtSaveScreenshot(w.id, 0, path, &width, &height, &windowError);
    std::thread asker([&] {
      for (int i = 0; i < 200 && ReadPresentation().messages.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      const PresentationState s = ReadPresentation();
      if (!s.messages.empty()) {
        boxSaved = RtSaveScreenshot(0, s.messages.front().id, boxPath, &boxWidth, &boxHeight, &boxError);
        ViewInput::AnswerMessage(s.messages.front().id, kButtonOk);
      }
      boxAsked = true;
    });
    RtMessage("Shown in a picture", "Box", kIconExclamation);
    asker.join();
    RtDisposeWindow(w);
  });
  ASSERT_TRUE(program.Finish());
  ASSERT_TRUE(windowSaved) << windowError;
  const QImage picture(QString::fromStdString(path));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(width, height));
  const DialogUnits units(QtFontFor("Arial", 8, 0, false));
  EXPECT_EQ(picture.size(), QSize(units.ToPixelsX(110) + 2, units.ToPixelsY(34) + 2));
  ASSERT_TRUE(boxSaved) << boxError;
  EXPECT_EQ(QImage(QString::fromStdString(boxPath)).size(), QSize(boxWidth, boxHeight));
  EXPECT_FALSE(TheView().SaveScreenshot(1, 0, "/tmp/never.png", &width, &height, &guiError))
      << "the GUI thread cannot wait for itself";
  EXPECT_NE(guiError.find("own thread"), std::string::npos) << guiError;

  // Closed: nothing will be drawn, so the answer comes at once, and says why.
  ASSERT_TRUE(QTest::qWaitFor([&] { return TheView().desktop().Shell(id) == nullptr; }));
  QSize size;
  QString problem;
  EXPECT_EQ(TheView().desktop().SaveScreenshot(id, 0, dir.filePath("gone.png"), &size, &problem),
            Desktop::Shot::kFailed)
      << "the view knows the window has closed, as when it closes while a screenshot waits";
  EXPECT_TRUE(problem.contains("closed")) << problem.toStdString();
  std::string closedError;
  std::thread([&] { EXPECT_FALSE(RtSaveScreenshot(id, 0, path, &width, &height, &closedError)); }).join();
  EXPECT_NE(closedError.find("not open"), std::string::npos) << closedError;
}

}  // namespace
}  // namespace qx::qttest

// The Qt view; see qt_view.h.
#include "runtime/view/qt/qt_view.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#ifdef QX_HAVE_XCB_PROBE
#include <xcb/xcb.h>
#endif

#include "runtime/text/date_layout.h"
#include "runtime/view/qt/desktop.h"
#include "runtime/view/qt/font_mapping.h"
#include "runtime/view/qt/qt_view_impl.h"

namespace qx {
namespace {

// How long SaveScreenshot waits for a window to be drawn on the screen.
constexpr auto kScreenshotWait = std::chrono::seconds(10);
constexpr int kScreenshotRetryMs = 50;

// Whether the platform Qt would choose can start here. Qt ends the process when its
// platform finds no display, so the X display named by DISPLAY is tried first.
bool PlatformCanStart() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const bool x11 = platform == nullptr || *platform == '\0' || std::strncmp(platform, "xcb", 3) == 0;
  if (!x11) return true;
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return false;
#ifdef QX_HAVE_XCB_PROBE
  xcb_connection_t* connection = xcb_connect(display, nullptr);
  const bool ok = connection != nullptr && xcb_connection_has_error(connection) == 0;
  if (connection != nullptr) xcb_disconnect(connection);
  return ok;
#else
  return true;
#endif
}

// One screenshot asked for by another thread, tried on the GUI thread until the window is
// drawn on the screen or the time is up.
struct ScreenshotJob {
  LONG window = 0, message = 0;
  QString path;
  std::chrono::steady_clock::time_point deadline;
  std::mutex mu;
  std::condition_variable cv;
  bool done = false;
  bool ok = false;
  QSize size;
  QString error;
};

void TryScreenshot(Desktop* desktop, const std::shared_ptr<ScreenshotJob>& job) {
  QSize size;
  QString problem;
  const Desktop::Shot shot = desktop->SaveScreenshot(job->window, job->message, job->path, &size, &problem);
  if (shot == Desktop::Shot::kNotYet && std::chrono::steady_clock::now() < job->deadline) {
    QTimer::singleShot(kScreenshotRetryMs, desktop, [desktop, job] { TryScreenshot(desktop, job); });
    return;
  }
  std::lock_guard<std::mutex> lock(job->mu);
  job->done = true;
  job->ok = shot == Desktop::Shot::kSaved;
  job->size = size;
  job->error = shot == Desktop::Shot::kNotYet ? QStringLiteral("not drawn on the screen in time") : problem;
  job->cv.notify_all();
}

}  // namespace

QtView::QtView(int& argc, char** argv) : app_(argc, argv) {
  RtUseUserDateLocale();  // QApplication took every category from the environment
  QApplication::setQuitOnLastWindowClosed(false);  // the program decides when it ends
  QApplication::setStyle(QStringLiteral("Fusion"));
  // The platform's dialog font for menus, message boxes and windows without a font.
  QApplication::setFont(QtFontFor("MS Sans Serif", kDefaultFontPoints, kFontWeightNormal, false));
  desktop_ = new Desktop;
}

QtView::~QtView() { delete desktop_; }

void QtView::Run() {
  if (!stopped_) QApplication::exec();
}

void QtView::Stop() {
  stopped_ = true;
  QMetaObject::invokeMethod(&app_, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void QtView::ShowWindow(const WindowPresentation& window, DrawnAck drawn) {
  Post([this, window, drawn = std::move(drawn)]() mutable { desktop_->ShowWindow(window, std::move(drawn)); });
}

void QtView::CloseWindow(LONG windowId) {
  Post([this, windowId] { desktop_->CloseWindow(windowId); });
}

void QtView::ShowMessage(const MessagePresentation& box) {
  Post([this, box] { desktop_->ShowMessage(box); });
}

void QtView::CloseMessage(LONG messageId) {
  Post([this, messageId] { desktop_->CloseMessage(messageId); });
}

void QtView::Beep(LONG) {
  Post([] { QApplication::beep(); });
}

void QtView::ShowPopup(const PopupPresentation& popup) {
  Post([this, popup] { desktop_->ShowPopup(popup); });
}

void QtView::ClosePopup(LONG popupId) {
  Post([this, popupId] { desktop_->ClosePopup(popupId); });
}

void QtView::ShowPrintSetup(LONG windowId) {
  Post([this, windowId] { desktop_->ShowPrintSetup(windowId); });
}

void QtView::ArrangeIcons(LONG frameId) {
  Post([this, frameId] { desktop_->ArrangeIcons(frameId); });
}

void QtView::SetClipboard(const std::string& text) {
  Post([this, text] { desktop_->SetClipboard(text); });
}

bool QtView::SaveScreenshot(LONG windowId, LONG messageId, const std::string& path, int* width, int* height,
                            std::string* error) {
  if (QThread::currentThread() == app_.thread()) {
    *error = "a screenshot cannot be asked for from the view's own thread";
    return false;
  }
  auto job = std::make_shared<ScreenshotJob>();
  job->window = windowId;
  job->message = messageId;
  job->path = QString::fromStdString(path);
  job->deadline = std::chrono::steady_clock::now() + kScreenshotWait;
  Desktop* desktop = desktop_;
  Post([desktop, job] { TryScreenshot(desktop, job); });
  std::unique_lock<std::mutex> lock(job->mu);
  if (!job->cv.wait_for(lock, kScreenshotWait + std::chrono::seconds(5), [&] { return job->done; })) {
    *error = "the view did not answer";
    return false;
  }
  if (!job->ok) {
    *error = job->error.toStdString();
    return false;
  }
  *width = job->size.width();
  *height = job->size.height();
  return true;
}

void QtView::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(desktop_, std::move(task), Qt::QueuedConnection);
}

std::unique_ptr<View> CreateQtView(int& argc, char** argv) {
  if (!PlatformCanStart()) {
    std::fprintf(stderr, "qxrt: no display can be reached; running headless\n");
    return nullptr;
  }
  return std::make_unique<QtView>(argc, argv);
}

}  // namespace qx

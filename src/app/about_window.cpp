#include "app/about_window.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/language.h"
#include "app/main_window_texts.h"
#include "document/file_io.h"
#include "view/bmp_file.h"

namespace plavesk {

namespace {

constexpr TText kCaption{"Info", "Info", "Info"};
constexpr TText kMakerLines{
    "Plavesk 4.0\nEditor für Leiterplatten-Layouts\n\nDie Plavesk-Entwickler\n"
    "Fragen und Hinweise bitte über die Webseite",
    "Plavesk 4.0\nEditor for printed circuit board layouts\n\nThe Plavesk developers\n"
    "Questions and reports through the web page",
    "Plavesk 4.0\nÉditeur de circuits imprimés\n\nLes développeurs de Plavesk\n"
    "Questions et remarques par la page web"};
constexpr TText kLinkHint{"Webseite öffnen", "Open the web page", "Ouvrir la page web"};

// A title picture is a few hundred kB; a larger file is no title picture
// (and a small 1-bit file can still hold millions of pixels).
constexpr size_t kMaxTitlePictureBytes = 2u << 20;

bool isFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string titlePicturePath(const std::string& programFolder) {
  for (const std::string& p :
       {programFolder + "TITEL.BMP", programFolder + "../share/plavesk/TITEL.BMP"})
    if (isFile(p)) return p;
  return programFolder + "TITEL.BMP";
}

QImage loadTitlePicture(const std::string& programFolder) {
  // Read by the strict reader of the template bitmaps: a truncated or damaged
  // file gives a null image and the picture area stays empty, where a
  // lenient reader would show whatever the missing rows happen to hold.
  std::vector<uint8_t> data;
  std::string error;
  if (!readWholeFile(titlePicturePath(programFolder), data, error)) return {};
  if (data.size() > kMaxTitlePictureBytes) return {};
  const TBmpReadResult bmp = decodeBmp(data);
  if (!bmp.ok || bmp.image.width <= 0 || bmp.image.height <= 0) return {};
  QImage image(bmp.image.width, bmp.image.height, QImage::Format_RGB32);
  for (int32_t y = 0; y < bmp.image.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < bmp.image.width; ++x) {
      const CanvasColour c = bmp.image.pixels[size_t(y) * size_t(bmp.image.width) + size_t(x)];
      line[x] = qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }
  }
  return image;
}

TAboutWindow::TAboutWindow(int language, const std::string& programFolder, Mode mode,
                           QWidget* parent)
    : QDialog(parent) {
  setObjectName(mode == Mode::splash ? "SplashWindow" : "AboutWindow");
  setWindowTitle(pick(language, kCaption));
  auto* column = new QVBoxLayout(this);
  picture_ = new QLabel;
  picture_->setObjectName("I_Titel");
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setAccessibleName(texts::kProgramTitle);
  const QImage image = loadTitlePicture(programFolder);
  if (!image.isNull()) picture_->setPixmap(QPixmap::fromImage(image));
  column->addWidget(picture_);

  if (mode == Mode::splash) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setModal(false);
    column->setContentsMargins(0, 0, 0, 0);
    if (!image.isNull()) setFixedSize(image.size());
    return;
  }

  auto* maker = new QLabel(pick(language, kMakerLines));
  maker->setObjectName("L_Hersteller");
  maker->setAlignment(Qt::AlignCenter);
  column->addWidget(maker);
  link_ = new QLabel;
  link_->setObjectName("L_Web");
  link_->setAlignment(Qt::AlignCenter);
  link_->setCursor(Qt::PointingHandCursor);
  link_->setAccessibleName(pick(language, kLinkHint));
  link_->setToolTip(pick(language, kLinkHint));
  link_->installEventFilter(this);
  showLink(false);
  column->addWidget(link_);
  ok_ = new QPushButton("OK");
  ok_->setObjectName("B_OK");
  ok_->setAccessibleName("OK");
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  column->addWidget(ok_, 0, Qt::AlignCenter);
  // The height follows the content.
  column->setSizeConstraint(QLayout::SetFixedSize);
  openPage = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
}

void TAboutWindow::showLink(bool underlined) {
  underlined_ = underlined;
  QFont font = link_->font();
  font.setUnderline(underlined);
  link_->setFont(font);
  link_->setText(QString("<span style=\"color:#0000c0\">%1</span>").arg(kMakerWebPage));
}

bool TAboutWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == link_) {
    switch (event->type()) {
      case QEvent::Enter:
        showLink(true);
        break;
      case QEvent::Leave:
        showLink(false);
        break;
      case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && openPage)
          openPage(kMakerWebPage);
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace plavesk

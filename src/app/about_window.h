// The about window ("Info"): the title picture "TITEL.BMP", the maker's
// lines, a web link and OK. Without border and showing the picture alone it
// is the splash window of start-up.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace plavesk {

// Where the title picture is looked for: the program folder, then
// share/plavesk of an installed program.
std::string titlePicturePath(const std::string& programFolder);
// The picture, or a null image when the file is missing, truncated or no
// picture at all.
QImage loadTitlePicture(const std::string& programFolder);

inline constexpr const char* kMakerWebPage = "https://plavesk.example/";

class TAboutWindow : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { about, splash };
  TAboutWindow(int language, const std::string& programFolder, Mode mode,
               QWidget* parent = nullptr);

  QLabel* picture() const { return picture_; }
  QLabel* link() const { return link_; }
  QPushButton* okButton() const { return ok_; }
  bool linkUnderlined() const { return underlined_; }

  // Opens the web page; the platform's browser unless a test replaces it.
  std::function<void(const QString&)> openPage;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showLink(bool underlined);

  QLabel* picture_;
  QLabel* link_ = nullptr;
  QPushButton* ok_ = nullptr;
  bool underlined_ = false;
};

}  // namespace plavesk

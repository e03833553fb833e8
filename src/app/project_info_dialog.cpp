#include "app/project_info_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/help_window.h"
#include "app/language.h"

namespace plavesk {

namespace {

constexpr TText kCaption{"Projektinfo", "Project info", "Infos Projet"};
constexpr TText kTitle{"Titel:", "Title:", "Titre:"};
constexpr TText kAuthor{"Autor:", "Author:", "Auteur:"};
constexpr TText kCompany{"Firma:", "Company:", "Société:"};
constexpr TText kComment{"Kommentar:", "Comment:", "Commentaire:"};

QLineEdit* field(const std::string& text) {
  auto* e = new QLineEdit(QString::fromStdString(text));
  e->setMaxLength(kProjectFieldMax);
  return e;
}

}  // namespace

TProjectInfoDialog::TProjectInfoDialog(int language, const TProjectInfo& info, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(pick(language, kCaption));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox;
  auto* form = new QFormLayout(group);
  title_ = field(info.title);
  author_ = field(info.author);
  company_ = field(info.company);
  form->addRow(pick(language, kTitle), title_);
  form->addRow(pick(language, kAuthor), author_);
  form->addRow(pick(language, kCompany), company_);
  layout->addWidget(group);
  layout->addWidget(new QLabel(pick(language, kComment)));
  comment_ = new QPlainTextEdit(QString::fromStdString(info.comment));
  comment_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(comment_, &QPlainTextEdit::textChanged, this, [this] {
    // The comment holds at most 1900 characters.
    const QString text = comment_->toPlainText();
    if (text.size() > kProjectCommentMax) {
      comment_->setPlainText(text.left(kProjectCommentMax));
      comment_->moveCursor(QTextCursor::End);
    }
  });
  layout->addWidget(comment_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  attachHelp(*this, kHelpProjectInfo, language);
  resize(420, 360);
}

TProjectInfo TProjectInfoDialog::info() const {
  TProjectInfo p;
  p.title = title_->text().toStdString();
  p.author = author_->text().toStdString();
  p.company = company_->text().toStdString();
  p.comment = comment_->toPlainText().left(kProjectCommentMax).toStdString();
  return p;
}

}  // namespace plavesk

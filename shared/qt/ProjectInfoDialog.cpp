// The project information form: its controls, and the hand-over between them and the model.
#include "shared/qt/ProjectInfoDialog.h"

#include <QApplication>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shared/TabLine.h"
#include "shared/qt/QtText.h"

namespace shared {

namespace {

QLineEdit* AddEdit(QGridLayout* grid, int row, const QString& caption, const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  auto* label = new QLabel(caption, parent);
  label->setBuddy(edit);
  grid->addWidget(label, row, 0);
  grid->addWidget(edit, row, 1);
  return edit;
}

}  // namespace

TProjectInfoDialog::TProjectInfoDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("ProjectInfoDialog");
  setWindowTitle("Project Information");
  setModal(true);

  ProgramIcon = new QLabel(this);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));

  auto* grid = new QGridLayout;
  TitleEdit = AddEdit(grid, 0, "Project &Title", "TitleEdit", this);
  ClientEdit = AddEdit(grid, 1, "&Client", "ClientEdit", this);
  AuthorEdit = AddEdit(grid, 2, "&Author", "AuthorEdit", this);
  DateEdit = AddEdit(grid, 3, "&Date", "DateEdit", this);
  CommentsMemo = new QPlainTextEdit(this);
  CommentsMemo->setObjectName("CommentsMemo");
  CommentsMemo->setTabChangesFocus(true);
  auto* commentsLabel = new QLabel("C&omments", this);
  commentsLabel->setBuddy(CommentsMemo);
  grid->addWidget(commentsLabel, 4, 0, Qt::AlignTop);
  grid->addWidget(CommentsMemo, 4, 1);

  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  HelpButton = new QPushButton("&Help", this);
  HelpButton->setObjectName("HelpButton");
  HelpButton->setAutoDefault(false);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(HelpButton, &QPushButton::clicked, this, &TProjectInfoDialog::HelpButtonClick);

  auto* top = new QHBoxLayout;
  top->addWidget(ProgramIcon, 0, Qt::AlignTop);
  top->addLayout(grid, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(HelpButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);

  setTabOrder(TitleEdit, ClientEdit);
  setTabOrder(ClientEdit, AuthorEdit);
  setTabOrder(AuthorEdit, DateEdit);
  setTabOrder(DateEdit, CommentsMemo);
  setTabOrder(CommentsMemo, OKBtn);
  setTabOrder(OKBtn, HelpButton);

  SetDefaults();
}

std::string TProjectInfoDialog::Today() {
  return FromQString(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void TProjectInfoDialog::SetDefaults() { Info.SetDefaults(Today()); }

void TProjectInfoDialog::ReadInfoSection() { Info.ReadInfoSection(TabLines(), Today()); }

void TProjectInfoDialog::WriteInfoSection() { Info.WriteInfoSection(TabLines()); }

void TProjectInfoDialog::showEvent(QShowEvent* event) {
  ShowInfo();
  TitleEdit->setFocus();
  QDialog::showEvent(event);
}

void TProjectInfoDialog::done(int result) {
  TakeInfo();
  QDialog::done(result);
}

void TProjectInfoDialog::ShowInfo() {
  TitleEdit->setText(ToQString(Info.Title));
  ClientEdit->setText(ToQString(Info.Client));
  AuthorEdit->setText(ToQString(Info.Author));
  DateEdit->setText(ToQString(Info.Date));
  QStringList lines;
  for (const std::string& comment : Info.Comments) lines << ToQString(comment);
  CommentsMemo->setPlainText(lines.join('\n'));
}

void TProjectInfoDialog::TakeInfo() {
  Info.Title = FromQString(TitleEdit->text());
  Info.Client = FromQString(ClientEdit->text());
  Info.Author = FromQString(AuthorEdit->text());
  Info.Date = FromQString(DateEdit->text());
  Info.Comments.clear();
  const QString text = CommentsMemo->toPlainText();
  if (!text.isEmpty())
    for (const QString& line : text.split('\n')) Info.Comments.push_back(FromQString(line));
}

void TProjectInfoDialog::HelpButtonClick() {
  if (HelpHandler) HelpHandler(HelpTopic);
}

}  // namespace shared

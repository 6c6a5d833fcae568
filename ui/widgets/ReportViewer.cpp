#include "widgets/ReportViewer.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "widgets/ScrollingPanel.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

TReportViewer::TReportViewer(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ReportViewer"));
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("ReadOnlyText"));
  text_->setReadOnly(true);
  // Read-only text still takes the keys that move through it (Ctrl+Home,
  // Ctrl+End, Page Down) and selects with Shift.
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* findLabel = new QLabel(tr("&Find:"), this);
  findField_ = new QLineEdit(this);
  findField_->setObjectName(QStringLiteral("FindField"));
  findField_->setClearButtonEnabled(true);
  findLabel->setBuddy(findField_);
  nextButton_ = new QPushButton(tr("&Next"), this);
  nextButton_->setObjectName(QStringLiteral("FindNext"));
  previousButton_ = new QPushButton(tr("Pre&vious"), this);
  previousButton_->setObjectName(QStringLiteral("FindPrevious"));
  printButton_ = new QPushButton(tr("&Print..."), this);
  printButton_->setObjectName(QStringLiteral("PrintReport"));
  findStatus_ = new QLabel(this);
  findStatus_->setObjectName(QStringLiteral("FindStatus"));
  for (QPushButton* button : {nextButton_, previousButton_, printButton_})
    button->setAutoDefault(false);

  auto* row = new QHBoxLayout;
  row->addWidget(findLabel);
  row->addWidget(findField_, 1);
  row->addWidget(nextButton_);
  row->addWidget(previousButton_);
  row->addWidget(findStatus_, 1);
  row->addWidget(printButton_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(row);
  layout->addWidget(text_, 1);

  connect(nextButton_, &QPushButton::clicked, this, &TReportViewer::FindNext);
  connect(previousButton_, &QPushButton::clicked, this, &TReportViewer::FindPrevious);
  connect(printButton_, &QPushButton::clicked, this, &TReportViewer::Print);
  connect(findField_, &QLineEdit::returnPressed, this, &TReportViewer::FindNext);
  connect(findField_, &QLineEdit::textChanged, findStatus_, &QLabel::clear);
  const auto shortcut = [this](const QKeySequence& keys, auto handler) {
    auto* s = new QShortcut(keys, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, handler);
  };
  shortcut(QKeySequence::Find, [this] {
    findField_->setFocus();
    findField_->selectAll();
  });
  shortcut(QKeySequence(Qt::Key_F3), [this] { FindNext(); });
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindPrevious(); });
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), [this] { FindPrevious(); });
  shortcut(QKeySequence::Print, [this] { Print(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Home),
           [this] { text_->moveCursor(QTextCursor::Start); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { text_->moveCursor(QTextCursor::End); });
  setFocusProxy(text_);
}

bool TReportViewer::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  text_->setPlainText(
      QString::fromUtf8(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  setWindowTitle(QFileInfo(path).fileName());
  return true;
}

bool TReportViewer::FindNext() { return find(false); }
bool TReportViewer::FindPrevious() { return find(true); }

bool TReportViewer::find(bool backward) {
  const QString wanted = findField_->text();
  if (wanted.isEmpty()) {
    findField_->setFocus();
    return false;
  }
  const QTextDocument::FindFlags flags =
      backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (text_->find(wanted, flags)) {
    findStatus_->clear();
    return true;
  }
  // Round from the other end; the cursor stays where it was when the text
  // holds it nowhere.
  const QTextCursor kept = text_->textCursor();
  text_->moveCursor(backward ? QTextCursor::End : QTextCursor::Start);
  if (text_->find(wanted, flags)) {
    findStatus_->setText(backward ? tr("Continued from the end") : tr("Continued from the top"));
    return true;
  }
  text_->setTextCursor(kept);
  findStatus_->setText(tr("\"%1\" not found").arg(wanted));
  return false;
}

int TReportViewer::TextWidth(int digits) const {
  return text_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * digits;
}

void TReportViewer::FocusText() { text_->setFocus(); }

bool TReportViewer::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(windowTitle());
  if (!TUserPrompts::Current().printDialog(this, printer)) return false;
  text_->print(&printer);
  return true;
}

void ShowReportViewer(QMdiArea& area, const QString& path) {
  auto* viewer = new TReportViewer;
  if (!viewer->Load(path)) {
    delete viewer;
    TUserPrompts::Current().showError(&area,
                                      QObject::tr("The file %1 could not be read.").arg(path));
    return;
  }
  QMdiSubWindow* window = area.addSubWindow(viewer);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(viewer->windowTitle());
  // Wide enough for the report's lines where the area allows it.
  const int width = viewer->TextWidth(100);
  const QSize room = area.viewport()->size();
  window->resize(std::min(width, room.width()), room.height() * 3 / 4);
  window->show();
  // Placed by the area where it would cross its edge, it comes back within.
  KeepSubWindowWithin(window, &area);
  viewer->FocusText();
}

}  // namespace terraq::ui

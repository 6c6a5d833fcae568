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

#include "widgets/TUserPrompts.h"

namespace terraq::ui {

TReportViewer::TReportViewer(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ReportViewer"));
  Text = new QPlainTextEdit(this);
  Text->setObjectName(QStringLiteral("ReadOnlyText"));
  Text->setReadOnly(true);
  // Read-only text still takes the keys that move through it (Ctrl+Home,
  // Ctrl+End, Page Down) and selects with Shift.
  Text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Text->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* findLabel = new QLabel(tr("&Find:"), this);
  FindField = new QLineEdit(this);
  FindField->setObjectName(QStringLiteral("FindField"));
  FindField->setClearButtonEnabled(true);
  findLabel->setBuddy(FindField);
  NextButton = new QPushButton(tr("&Next"), this);
  NextButton->setObjectName(QStringLiteral("FindNext"));
  PreviousButton = new QPushButton(tr("Pre&vious"), this);
  PreviousButton->setObjectName(QStringLiteral("FindPrevious"));
  PrintButton = new QPushButton(tr("&Print..."), this);
  PrintButton->setObjectName(QStringLiteral("PrintReport"));
  FindStatus = new QLabel(this);
  FindStatus->setObjectName(QStringLiteral("FindStatus"));
  for (QPushButton* button : {NextButton, PreviousButton, PrintButton})
    button->setAutoDefault(false);

  auto* row = new QHBoxLayout;
  row->addWidget(findLabel);
  row->addWidget(FindField, 1);
  row->addWidget(NextButton);
  row->addWidget(PreviousButton);
  row->addWidget(FindStatus, 1);
  row->addWidget(PrintButton);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(row);
  layout->addWidget(Text, 1);

  connect(NextButton, &QPushButton::clicked, this, &TReportViewer::FindNext);
  connect(PreviousButton, &QPushButton::clicked, this, &TReportViewer::FindPrevious);
  connect(PrintButton, &QPushButton::clicked, this, &TReportViewer::Print);
  connect(FindField, &QLineEdit::returnPressed, this, &TReportViewer::FindNext);
  connect(FindField, &QLineEdit::textChanged, FindStatus, &QLabel::clear);
  const auto shortcut = [this](const QKeySequence& keys, auto handler) {
    auto* s = new QShortcut(keys, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, handler);
  };
  shortcut(QKeySequence::Find, [this] {
    FindField->setFocus();
    FindField->selectAll();
  });
  shortcut(QKeySequence(Qt::Key_F3), [this] { FindNext(); });
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindPrevious(); });
  shortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), [this] { FindPrevious(); });
  shortcut(QKeySequence::Print, [this] { Print(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { Text->moveCursor(QTextCursor::Start); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { Text->moveCursor(QTextCursor::End); });
  setFocusProxy(Text);
}

bool TReportViewer::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  Text->setPlainText(
      QString::fromUtf8(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  setWindowTitle(QFileInfo(path).fileName());
  return true;
}

bool TReportViewer::FindNext() { return find(false); }
bool TReportViewer::FindPrevious() { return find(true); }

bool TReportViewer::find(bool backward) {
  const QString wanted = FindField->text();
  if (wanted.isEmpty()) {
    FindField->setFocus();
    return false;
  }
  const QTextDocument::FindFlags flags =
      backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (Text->find(wanted, flags)) {
    FindStatus->clear();
    return true;
  }
  // Round from the other end; the cursor stays where it was when the text
  // holds it nowhere.
  const QTextCursor kept = Text->textCursor();
  Text->moveCursor(backward ? QTextCursor::End : QTextCursor::Start);
  if (Text->find(wanted, flags)) {
    FindStatus->setText(backward ? tr("Continued from the end") : tr("Continued from the top"));
    return true;
  }
  Text->setTextCursor(kept);
  FindStatus->setText(tr("\"%1\" not found").arg(wanted));
  return false;
}

bool TReportViewer::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(windowTitle());
  if (!TUserPrompts::Current().printDialog(this, printer)) return false;
  Text->print(&printer);
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
  const int width = viewer->Text->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 100;
  window->resize(std::min(width, area.width()), area.height() * 3 / 4);
  window->show();
  viewer->Text->setFocus();
}

}  // namespace terraq::ui

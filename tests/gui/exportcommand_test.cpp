// "Export..." of a workflow view: the scope question, the file dialog's filter
// and typed suffix deciding the format, and failures shown in a message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "common/headlessservices.h"
#include "demoworkflow.h"
#include "editor/ui/workflowview.h"
#include "testeditor.h"

namespace {

// Answers the export's dialogs as they open: the scope button, then the file.
class DialogAnswers : public QObject {
 public:
  DialogAnswers(QString scope, QString filter, QString file)
      : scope_(std::move(scope)), filter_(std::move(filter)), file_(std::move(file)) {
    connect(&timer_, &QTimer::timeout, this, &DialogAnswers::Poll);
    timer_.start(5);
  }
  QStringList seen;

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen << QStringLiteral("question");
      for (QAbstractButton* button : box->buttons())
        if (button->text() == scope_) return button->click();
      box->reject();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      seen << QStringLiteral("file");
      dialog->selectNameFilter(filter_);
      dialog->selectFile(file_);
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept checks the name
    }
  }
  QString scope_, filter_, file_;
  QTimer timer_;
};

class ExportCommandTest : public ::testing::Test {
 protected:
  velk::HeadlessServices ui;
  TestEditor editor{ui};
  velk::ModelerSettings& settings = editor.settings;
  viewtest::DemoWorkflow demo{ui};
  QTemporaryDir dir;
};

TEST_F(ExportCommandTest, ScopeFilterAndTypedSuffixDecideWhatIsWritten) {
  struct Case {
    QString scope;
    QString filter;
    QString typed;
    QStringList written;
    QString missing;
  };
  const std::vector<Case> cases = {
      {"Whole workflow", "SVG drawing (*.svg)", "all", {"all.svg", "all-2.svg"}, "all.png"},
      {"This level", "PNG image (*.png)", "top", {"top.png"}, "top-2.png"},
      {"This level", "PNG image (*.png)", "typed.pdf", {"typed.pdf"}, "typed.pdf.png"},
  };
  CWorkflowView view(editor.editor, demo.doc);
  for (const Case& c : cases) {
    DialogAnswers answers(c.scope, c.filter, dir.filePath(c.typed));
    ASSERT_TRUE(view.OnCommand(cmd::FileExport));
    EXPECT_EQ(answers.seen, QStringList({"question", "file"})) << c.typed.toStdString();
    for (const QString& file : c.written)
      EXPECT_TRUE(QFile::exists(dir.filePath(file))) << file.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(c.missing))) << c.missing.toStdString();
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExportCommandTest, ALevelWithoutClustersIsNotAskedAboutAndFailuresAreShown) {
  auto single = std::make_shared<velk::CWorkflowDoc>(ui);
  single->InsertNode(velk::NodeRectAt(40, -40), velk::NodeKind::Intern);
  CWorkflowView singleView(editor.editor, single);
  DialogAnswers answers("", "PNG image (*.png)", dir.filePath("missing/x.png"));
  ASSERT_TRUE(singleView.OnCommand(cmd::FileExport));
  EXPECT_EQ(answers.seen, QStringList({"file"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  // The dialog may resolve a folder that does not exist in its own way.
  EXPECT_EQ(ui.messages[0].text.rfind("Cannot write ", 0), 0u) << ui.messages[0].text;
  EXPECT_NE(ui.messages[0].text.find("missing/x.png"), std::string::npos) << ui.messages[0].text;
}

}  // namespace

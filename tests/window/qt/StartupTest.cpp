#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "FormFixture.h"

namespace {

using testing_support::FormFixture;

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    int buttons = 0;
    bool applicationModal = false;
};

// Reads the modal message box once it is up, then presses its OK button.
void answerMessageBox(SeenBox& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no message box is open";
        seen = {box->windowTitle(), box->text(), box->icon(),
                static_cast<int>(box->buttons().size()),
                box->windowModality() == Qt::ApplicationModal};
        box->button(QMessageBox::Ok)->click();
    });
}

class Startup : public FormFixture {};

TEST_F(Startup, WithoutADocumentItSaysSoAndEndsWithoutShowingTheWindow) {
    SeenBox seen;
    answerMessageBox(seen);
    load();
    EXPECT_EQ(seen.text, "Please open a publication and try again.");
    EXPECT_EQ(seen.caption, "Quarvel 0-3");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_TRUE(seen.applicationModal);
    EXPECT_EQ(m_ends, std::vector<int>{0});
    EXPECT_TRUE(m_reports.empty());
    EXPECT_FALSE(m_skin.isVisible());
    EXPECT_EQ(m_host.calls(), (std::vector<std::string>{"app.docs", "docs.Count"}));
}

TEST_F(Startup, WithTwoDocumentsOpenUsesTheActiveOne) {
    auto& sheet = m_host.addDocument(1000, 700);
    auto& other = m_host.addDocument(800, 600);
    other.addSpread().addPage().addRectangle("elsewhere", {0, 0, 10, 10});
    auto& spread = sheet.addSpread();
    spread.addPage().addRectangle("r1", {50, 100, 350, 300}, 90);
    m_host.activate(sheet);
    m_host.showWindow(spread);
    load();
    ASSERT_TRUE(m_ends.empty()) << (m_reports.empty() ? "" : m_reports.front());
    EXPECT_EQ(tool().boxWidth, 341.0f);
    EXPECT_EQ(tool().boxHeight, 361.0f);
    EXPECT_EQ(tool().sheetLeft, 24.0f);
    EXPECT_EQ(tool().sheetTop, 80.0f);
    EXPECT_EQ(tool().frontCapacity, 32);
    EXPECT_TRUE(tool().flipLeftRight);
    EXPECT_EQ(tool().sheetWidth, 1000.0);
    EXPECT_EQ(tool().sheetHeight, 700.0);
    EXPECT_EQ(tool().pageCount, 1);
    EXPECT_EQ(tool().frontPages.at(0, state::PageTable::Left), 100.0);
    EXPECT_TRUE(m_skin.isVisible());
}

TEST_F(Startup, AFailingHostCallIsReportedAndEndsTheToolWithAnErrorStatus) {
    m_host.addDocument(1000, 700);
    m_host.failOn("docs.Count");
    load();
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_ends, std::vector<int>{1});
    EXPECT_FALSE(m_skin.isVisible());
}

TEST_F(Startup, NoHostToConnectToIsReported) {
    m_guard.run([this] { m_form.formLoad(); });  // nothing registered
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports.front().find("InDesign.Application.2.0"), std::string::npos);
    EXPECT_EQ(m_ends, std::vector<int>{1});
}

}  // namespace

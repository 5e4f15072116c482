#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SheetFixture.h"

namespace {

using ::testing::ElementsAre;
using testing_support::kBackground;
using testing_support::kDuplicateButton;
using testing_support::kReflectButton;
using testing_support::kVerticalArrow;

class ButtonFaces : public testing_support::SheetFixture {
protected:
    void SetUp() override {
        drawSixPages();
        load();
    }
};

TEST_F(ButtonFaces, AButtonLightsUpUnderThePointerAndGoesBackOverTheBackground) {
    move(kReflectButton);
    EXPECT_EQ(ui().bReflect.picture(), ui().tReflectDown.picture());
    EXPECT_FALSE(tool().reflectUp);
    move(kReflectButton + QPoint(5, 0));  // moving on over the same button changes nothing
    move(kBackground);
    EXPECT_EQ(ui().bReflect.picture(), ui().tReflectUp.picture());
    EXPECT_TRUE(tool().reflectUp);
    EXPECT_THAT(m_recording.log, ElementsAre("bReflect.setPicture", "bReflect.setPicture"));
}

TEST_F(ButtonFaces, PassingStraightFromOneButtonToAnotherLeavesBothLit) {
    move(kReflectButton);
    move(kDuplicateButton);
    move(kVerticalArrow);  // other controls bring nothing back
    EXPECT_EQ(ui().bReflect.picture(), ui().tReflectDown.picture());
    EXPECT_EQ(ui().bDuplicate.picture(), ui().tDuplicateDown.picture());
    EXPECT_FALSE(tool().reflectUp);
    EXPECT_FALSE(tool().duplicateUp);

    move(kBackground);
    EXPECT_EQ(ui().bReflect.picture(), ui().tReflectUp.picture());
    EXPECT_EQ(ui().bDuplicate.picture(), ui().tDuplicateUp.picture());
    EXPECT_TRUE(tool().reflectUp && tool().duplicateUp && tool().forgetUp && tool().refreshUp);
}

TEST_F(ButtonFaces, TheBackgroundRestoresDuplicateForgetReflectRefreshInThatOrderOnce) {
    act(&window::form::Form1::bRefreshMouseMove);
    act(&window::form::Form1::bReflectMouseMove);
    act(&window::form::Form1::bForgetMouseMove);
    act(&window::form::Form1::bDuplicateMouseMove);
    EXPECT_EQ(ui().bForget.picture(), ui().tForgetDown.picture());
    EXPECT_EQ(ui().bRefresh.picture(), ui().tRefreshDown.picture());
    m_recording.log.clear();

    act([](window::form::Form1& form) { form.formMouseMove(0, 10, 300); });
    act([](window::form::Form1& form) { form.formMouseMove(0, 11, 301); });

    EXPECT_THAT(m_recording.log, ElementsAre("bDuplicate.setPicture", "bForget.setPicture",
                                             "bReflect.setPicture", "bRefresh.setPicture"));
    EXPECT_EQ(ui().bForget.picture(), ui().tForgetUp.picture());
    EXPECT_EQ(ui().bRefresh.picture(), ui().tRefreshUp.picture());
    EXPECT_TRUE(m_ends.empty());
}

}  // namespace

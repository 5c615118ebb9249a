#include "harness/ScreenHarness.h"

#include "kit/Button.h"
#include "kit/TextField.h"
#include "ui/editing/DeleteButtonTableViewCell.h"
#include "ui/editing/TextFieldTableViewCell.h"

#include <gtest/gtest.h>

namespace {

QString editorRowFrame(const View& view, const View& row) {
    const Rect frame = view.convertRectToView(view.bounds(), &row);
    return QStringLiteral("%1,%2,%3,%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
}

} // namespace

TEST(EditorRowsTest, theTextFieldAndDeleteRowsFillTheirRowAndGrowWithIt) {
    ScreenHarness harness;
    auto field = std::make_shared<TextFieldTableViewCell>();
    field->setFrame(Rect(0, 0, 300, 44));
    field->layoutIfNeeded();
    EXPECT_EQ(editorRowFrame(field->textField(), *field), "20,11,260,22");
    EXPECT_EQ(field->textField().placeholder(), "Text");
    field->setFrame(Rect(0, 0, 320, 60));
    field->layoutIfNeeded();
    EXPECT_EQ(editorRowFrame(field->textField(), *field), "20,11,280,38");

    // On a screen of scale 2 the red button keeps half-point margins.
    auto remove = std::make_shared<DeleteButtonTableViewCell>();
    remove->setFrame(Rect(0, 0, 300, 44));
    remove->layoutIfNeeded();
    EXPECT_EQ(editorRowFrame(remove->button(), *remove), "8.5,-1,283,46");
    EXPECT_EQ(remove->button().currentTitle(), "Delete Calendar");
}

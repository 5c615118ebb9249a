#pragma once

#include "kit/View.h"

#include <memory>

class ImageView;
class Label;

// The bar at the top of the week screen that tells the user to pick a day while an event is
// copied or moved. It starts just above the visible area; the week screen slides it down and
// up again.
class MoveEventBarView : public View {
public:
    static constexpr double barHeight = 30.0;

    static std::shared_ptr<MoveEventBarView> create();
    MoveEventBarView();

    void setCopyMode();
    void setMoveMode();

    const std::shared_ptr<ImageView>& backgroundView() const { return m_backgroundView; }
    const std::shared_ptr<Label>& label() const { return m_label; }

private:
    void setMode(const QString& imageName, const QString& text);

    std::shared_ptr<ImageView> m_backgroundView;
    std::shared_ptr<Label> m_label;
};

#include "ui/editor/DeleteButton.h"

#include "foundation/RunLoop.h"
#include "kit/Animator.h"
#include "kit/Artwork.h"
#include "ui/editing/EditorArtwork.h"

namespace {

constexpr int lastLidStep = EditorArtwork::lidSteps - 1;

Image lidStepImage(int index) {
    return Artwork::imageNamed(QStringLiteral("edit-delete-icon-step%1").arg(index + 1));
}

} // namespace

DeleteButton::DeleteButton(const Rect& frame) : Button(frame) {
    EditorArtwork::registerImages();
    showStep();
}

DeleteButton::~DeleteButton() {
    if (m_timer) {
        m_timer->invalidate();
    }
}

void DeleteButton::animateForward() {
    start(0, 1);
}

void DeleteButton::animateBackward() {
    start(lastLidStep, -1);
}

void DeleteButton::start(int index, int direction) {
    if (m_timer) {
        m_timer->invalidate();
    }
    m_imageIndex = index;
    m_direction = direction;
    const std::weak_ptr<DeleteButton> weakSelf = std::static_pointer_cast<DeleteButton>(shared_from_this());
    m_timer = Animator::instance().scheduleFrames(stepInterval, [weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->step();
        }
    });
}

void DeleteButton::step() {
    m_imageIndex += m_direction;
    showStep();
    if ((m_direction > 0 && m_imageIndex >= lastLidStep) || (m_direction < 0 && m_imageIndex < 1)) {
        m_timer->invalidate();
        m_timer.reset();
    }
}

void DeleteButton::showStep() {
    setBackgroundImage(lidStepImage(m_imageIndex));
}

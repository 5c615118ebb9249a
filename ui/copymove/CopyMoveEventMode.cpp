#include "ui/copymove/CopyMoveEventMode.h"

#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"

CopyMoveEventMode& CopyMoveEventMode::sharedInstance() {
    static CopyMoveEventMode mode;
    return mode;
}

void CopyMoveEventMode::activateMove(std::shared_ptr<EKEvent> event, Date tappedDate) {
    activate(Kind::Move, std::move(event), tappedDate);
}

void CopyMoveEventMode::activateQuickMove(std::shared_ptr<EKEvent> event, Date tappedDate) {
    activate(Kind::QuickMove, std::move(event), tappedDate);
}

void CopyMoveEventMode::activateCopy(std::shared_ptr<EKEvent> event, Date tappedDate) {
    activate(Kind::Copy, std::move(event), tappedDate);
}

void CopyMoveEventMode::activate(Kind kind, std::shared_ptr<EKEvent> event, Date tappedDate) {
    m_moveActivated = kind == Kind::Move;
    m_quickMoveActivated = kind == Kind::QuickMove;
    m_copyActivated = kind == Kind::Copy;
    m_event = std::move(event);
    m_tappedDate = tappedDate;
    m_returnWeek = DateUtilities::week(tappedDate);
}

void CopyMoveEventMode::deactivate() {
    m_moveActivated = false;
    m_quickMoveActivated = false;
    m_copyActivated = false;
    m_event.reset();
    m_tappedDate.reset();
}

#pragma once

// A row the copy/move menu can open over. When the menu closes without a choice, the row gives
// up its selection.
class CopyMoveMenuRow {
public:
    virtual ~CopyMoveMenuRow() = default;

    virtual void deselectForClosedMenu() = 0;
};

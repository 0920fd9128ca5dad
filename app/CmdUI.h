#pragma once

/// The state a command's menu item or toolbar button should show, decided by the update rules of
/// the view, the document and the frame (first one to handle it wins).
class CCmdUI {
public:
    explicit CCmdUI(int id = 0) : m_nID(id) {}

    int m_nID;
    bool m_bEnabled = true;
    bool m_bChecked = false;
    bool m_bHandled = false; ///< Set by Enable/SetCheck: later handlers leave the item alone.

    void Enable(bool enabled = true) {
        m_bEnabled = enabled;
        m_bHandled = true;
    }
    void SetCheck(bool checked = true) {
        m_bChecked = checked;
        m_bHandled = true;
    }
};

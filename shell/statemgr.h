#pragma once

// The program's access and busy states; the register map's version check sets update permission.
class StateMgr {
public:
    static StateMgr* Instance();
    static void ReleaseInstance();

    void SetUpdateAllowed(int allowed) { updateAllowed_ = allowed; }
    int IsUpdateAllowed() const { return updateAllowed_; }

private:
    StateMgr() = default;
    int updateAllowed_ = 0;
};

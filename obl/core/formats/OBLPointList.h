// Unit OBLPointList: a list of integer points, one point packed into each entry
// of the class library's pointer list (X as unsigned 16 bits in the high half,
// Y as signed 16 bits in the low half: stored point lists rely on this packing),
// with a change notification and an update counter.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/win/WinTypes.h"

class TOBLPointList : public TList {
    VENDARO_CLASS(TOBLPointList, TList)
public:
    // Calls OnChange with Sender unless an update is open.
    void GetChange(TObject* Sender);

    // Unpacks the point at Index into P; past the end P keeps its value. X comes
    // back unsigned (0..65535): callers that draw with negative X convert it.
    void GetPoint(int Index, POINT& P);
    // Packs P into the entry at Index and notifies; past the end nothing happens.
    void PutPoint(int Index, const POINT& P);
    void AddPoint(const POINT& P);
    void DeletePoint(int Index);
    // Replaces Target's points by a copy of this list's points.
    void Clone(TOBLPointList* Target);

    void BeginUpdate();
    void EndUpdate(bool Notify);

    // The indexed point property.
    POINT Points(int Index);
    void SetPoints(int Index, const POINT& P) { PutPoint(Index, P); }

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent value) { onChange_ = value; }

private:
    TNotifyEvent onChange_;
    int updateCount_ = 0;
};

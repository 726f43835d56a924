// Unit Oblbtn: the face index of the multimedia button, naming one picture of an image
// list by its entry (list index) and its position in the entry (image index).
#pragma once

struct TOBLButtonFaceIndex {
    int ListIndex = 0;
    int ImageIndex = 0;
    bool operator==(const TOBLButtonFaceIndex&) const = default;
};

inline TOBLButtonFaceIndex OBLFaceIndex(int ListIndex, int ImageIndex) { return {ListIndex, ImageIndex}; }

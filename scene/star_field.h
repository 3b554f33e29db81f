// The "Universe": a fixed cloud of coloured points compiled into one display list, drawn twice.
#pragma once

#include <cstdint>

class StarField {
  public:
    StarField();
    virtual ~StarField();

    // Replaces the held list with count stars in the region that shape selects: 1 a hollow cube,
    // 2 an upper hemispherical shell, anything else a spherical shell.
    void Build(int count, float outer, float inner, int shape);
    // Draws the list at point size 1, then turned 120 degrees about y at point size 2.
    void Draw();
    // Deletes the held list.
    void Release();

    int32_t listId;  // display-list name, -1 when none is held
};

// Builds the universe's 1000 stars in the hollow cube from -2 to 2 less the core from -0.51 to
// 0.51.
void BuildUniverse();
// Draws the universe inside its slow three-axis rotation.
void DrawUniverse();

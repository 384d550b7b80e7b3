#pragma once

#include <QList>

// One paint of the background image: top left corner and size in twips.
struct Tile {
    float x = 0, y = 0, width = 0, height = 0;
};

// A twip size as a whole number: to the nearest, halves to even.
int roundHalfEven(float value);

// The tiles that cover a box of `tiledWidth` x `tiledHeight` twips with a
// picture of `originalWidth` x `originalHeight` twips: column I, row J at
// (I x width, J x height), NX + 1 columns and NY + 1 rows, where
// NX = tiledWidth div originalWidth + 1 on the rounded sizes (likewise NY),
// so there is at least one tile more than needed each way. Column by column.
// A picture that rounds to no size at all gives no tiles.
QList<Tile> tileGrid(float tiledWidth, float tiledHeight, float originalWidth, float originalHeight);

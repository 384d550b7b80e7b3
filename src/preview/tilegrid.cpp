#include "preview/tilegrid.h"

#include <cmath>

int roundHalfEven(float value)
{
    const float down = std::floor(value);
    const float rest = value - down;
    float result = down;
    if (rest > 0.5F || (rest == 0.5F && std::fmod(down, 2.0F) != 0.0F))
        result = down + 1.0F;
    return static_cast<int>(result);
}

QList<Tile> tileGrid(float tiledWidth, float tiledHeight, float originalWidth, float originalHeight)
{
    const int ow = roundHalfEven(originalWidth);
    const int oh = roundHalfEven(originalHeight);
    if (ow <= 0 || oh <= 0)
        return {};
    const int nx = roundHalfEven(tiledWidth) / ow + 1;
    const int ny = roundHalfEven(tiledHeight) / oh + 1;
    QList<Tile> tiles;
    tiles.reserve(static_cast<qsizetype>(nx + 1) * (ny + 1));
    for (int i = 0; i <= nx; ++i)
        for (int j = 0; j <= ny; ++j)
            tiles.append(Tile{static_cast<float>(i) * originalWidth, static_cast<float>(j) * originalHeight,
                              originalWidth, originalHeight});
    return tiles;
}

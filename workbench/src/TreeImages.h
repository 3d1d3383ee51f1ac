#pragma once
// The tree's two 16 by 16 images: 0 an open project (and every other node), 1 a closed one.

#include <QIcon>

#include <array>

std::array<QIcon, 2> MakeTreeImages();

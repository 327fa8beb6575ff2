// The quick tour's background picture, drawn by the program itself: a light
// sky with soft circles of light and two waves along the bottom.
#pragma once

#include <QImage>

QImage TourBackground(const QSize& size);

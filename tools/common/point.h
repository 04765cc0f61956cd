// A point of the plane, in metres of the route or in pixels of a picture.
#pragma once

struct Point {
    double x = 0;
    double y = 0;
};

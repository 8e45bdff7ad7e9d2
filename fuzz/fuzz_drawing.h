// What the harnesses of drawing code share: a small image port to draw into.
#pragma once

// Makes a small image port current (once) and erases it.
void fuzz_use_image_port();

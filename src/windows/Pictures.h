#pragma once

// The pictures are compiled into the battery library; a static library must
// register them itself. Registers them all, once, before the first is read.
void registerPictures();

// Our own addition to the Direct3D subset, for the drawing layer's opaque copies: whether every
// texel of a texture is opaque. A copy from such a texture replaces every pixel it covers, so
// the clear the layer makes under it would be overwritten anyway.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

// True when every texel of the texture's level 0 reads with alpha 0xFF (a format without alpha
// always does). False for no texture and while the level is locked or has a device context,
// since its pixels may be changing. Learnt from the pixels once and kept until they are written.
bool TextureIsOpaque(IDirect3DTexture9* texture);

}  // namespace d3d9

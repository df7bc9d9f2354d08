// A master book over every open book.
#ifndef VELTRANO_FRAME_MASTER_INDEX_H
#define VELTRANO_FRAME_MASTER_INDEX_H

namespace frame {

// Builds the master book. Returns false when the user cancelled a prompt.
bool BuildMasterIndex();

}  // namespace frame

#endif

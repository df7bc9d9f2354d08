// Automatic processing of a book's generated indexes after the host has
// generated or updated the book.
#ifndef VELTRANO_FRAME_POST_GENERATE_H
#define VELTRANO_FRAME_POST_GENERATE_H

namespace frame {

// Merges and adds continued lines to each generated index of the active
// book, as "ProcessIndex" says, then saves and closes it.
void ProcessGeneratedIndexes();

}  // namespace frame

#endif

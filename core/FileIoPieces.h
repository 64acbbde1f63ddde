#pragma once

#include "FileIo.h"

// The platform-free part of ReadFileInPieces: reads a file of `size` bytes through `read` (the
// piece's room, its size and where it starts in the file) one piece at a time, handing each
// to `take` until the file ends or `take` returns false.
using FilePieceReader = std::function<Result(uint8_t* piece, size_t size, uint64_t from)>;
Result ReadInPieces(uint64_t size, const FilePieceReader& read, const FilePieceTaker& take);

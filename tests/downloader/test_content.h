#pragma once
// Content for the download tests: bytes that differ from one offset to the
// next, so that a piece written at the wrong place or twice shows, and
// differ between seeds, so that a changed file on the server shows.
#include <cstddef>
#include <string>

std::string TestContent(std::size_t size, unsigned seed = 1);

#pragma once

namespace testsupport {

// What a test program does when an interpreter runs it as one of its helper programs.

// Says it is reading, reads one line of its input and says what it read: a program that takes
// the next line the console sends.
void ReadOneLineAndSayIt();

}  // namespace testsupport

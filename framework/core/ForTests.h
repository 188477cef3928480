#pragma once
// OVELUND_FOR_TESTS marks a declaration the framework keeps for its tests alone: neither the framework nor
// the program calls it, and it may change with the tests. It expands to nothing.

#define OVELUND_FOR_TESTS

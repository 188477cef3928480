#pragma once
// OVELUND_FOR_TESTS marks a declaration that a framework header holds for the tests and benches alone: the
// program never uses it (scripts/check-layers fails on any use of a marked name in the program), and it may
// change with the tests. It expands to nothing.

#define OVELUND_FOR_TESTS

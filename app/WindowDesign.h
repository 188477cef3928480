#pragma once
// What the program's four stored window designs share: the 22 window keys, in the order every window's design
// stores them (the windows differ in their size, frame, title and minimise button; the rest is the same for
// all), and the placement keys that end the control designs stored from InitialParent to Name.

#include "framework/core/DesignBlock.h"

// The placement keys that end a control design stored from InitialParent to Name, in their stored order.
// `lockLeftTop` is LockTop and LockLeft; LockBottom and LockRight are False.
#define TRAILING_PLACEMENT_KEYS(left, top, width, height, lockLeftTop, name)                                 \
    ::Ovelund::design::Int32{"TabPanelIndex", 0}, ::Ovelund::design::Boolean{"LockBottom", false},           \
        ::Ovelund::design::Boolean{"LockRight", false}, ::Ovelund::design::Boolean{"LockTop", lockLeftTop},  \
        ::Ovelund::design::Boolean{"LockLeft", lockLeftTop}, ::Ovelund::design::Int32{"Height", height},     \
        ::Ovelund::design::Int32{"Width", width}, ::Ovelund::design::Int32{"Top", top},                      \
        ::Ovelund::design::Int32{"Left", left},                                                              \
        ::Ovelund::design::Int32{"Index", ::Ovelund::design::kNoControlArray}, ::Ovelund::design::String {   \
        "Name", name                                                                                         \
    }

#define STORED_WINDOW_DESIGN(width, height, frame, title, minimizeButton)                                    \
    OVELUND_DESIGN_BLOCK(                                                                                    \
        ::Ovelund::design::Int32{"Placement", 0}, ::Ovelund::design::Int32{"Width", width},                  \
        ::Ovelund::design::Int32{"Height", height}, ::Ovelund::design::Int32{"MinWidth", 64},                \
        ::Ovelund::design::Int32{"MinHeight", 64}, ::Ovelund::design::Int32{"MaxWidth", 32000},              \
        ::Ovelund::design::Int32{"MaxHeight", 32000}, ::Ovelund::design::Int32{"Frame", frame},              \
        ::Ovelund::design::Boolean{"Composite", false}, ::Ovelund::design::Boolean{"HasBackColor", true},    \
        ::Ovelund::design::Color{"BackColor", 0xFF, 0xFF, 0xFF}, ::Ovelund::design::String{"Title", title},  \
        ::Ovelund::design::Boolean{"Visible", true}, ::Ovelund::design::Boolean{"FullScreen", false},        \
        ::Ovelund::design::Boolean{"MenuBarVisible", true}, ::Ovelund::design::Boolean{"CloseButton", true}, \
        ::Ovelund::design::Boolean{"Resizeable", false}, ::Ovelund::design::Boolean{"LiveResize", false},    \
        ::Ovelund::design::Boolean{"MaximizeButton", false},                                                 \
        ::Ovelund::design::Boolean{"MinimizeButton", minimizeButton},                                        \
        ::Ovelund::design::Boolean{"FullScreenButton", false}, ::Ovelund::design::Int32{"MacProcID", 0})

#pragma once
// DoEvents: runs the pending events (clicks, close requests, repaints, timer ticks), then returns.

void DoEvents();

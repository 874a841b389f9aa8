#pragma once

// The host's packed card-information record.
struct CardInfoRecord;

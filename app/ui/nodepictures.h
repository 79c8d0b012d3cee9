#pragma once
// The fifteen node pictures, drawn in code. Index order: 0 internal task, 1 end task,
// 2 start task, 3 In task, 4 Out task, 5 internal workflow cluster, 6 central design and
// replication, 7 distributed design and replication, 8 subscribed external workflow,
// 9 external workflow task, 10 external sub-workflow with messaging, 11 In task not yet
// published, 12 external subscribed workflow without subscription, 13 external workflow
// task without reference, 14 subscribed external workflow with a reference.

#include <QImage>

constexpr int kNodePictureCount = 15;

// A 32 x 32 indexed image with the sixteen VGA colours; null for an unknown index.
// The selected look covers the grey body with a blue checkerboard; badges stay clear.
QImage DrawNodePicture(int index, bool selected);

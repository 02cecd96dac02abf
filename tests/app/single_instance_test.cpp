#include "app/single_instance.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace orx;

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orx.lock"));
    auto first = std::make_unique<SingleInstanceLock>(path);
    SingleInstanceLock second(path);
    EXPECT_TRUE(first->acquire());
    EXPECT_TRUE(first->acquire()) << "asking again keeps it";
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstance, CopyThatDiedLeavesNoLockBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orx.lock"));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstanceLock lock(path);
        const char held = lock.acquire() ? 'y' : 'n';
        (void)!write(ready[1], &held, 1);
        pause(); // until killed, without letting go
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    SingleInstanceLock mine(path);
    EXPECT_FALSE(mine.acquire()) << "the other copy is running";
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(mine.acquire()) << "a killed copy must not keep the program locked out";
    close(ready[0]);
    close(ready[1]);
}

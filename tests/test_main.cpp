#include <QApplication>
#include <gtest/gtest.h>

// One application object for the whole run: widget and GL tests need it,
// the others do not mind it.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

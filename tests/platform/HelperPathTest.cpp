#include "platform/picture/HelperPath.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HelperPath, FoundWhereTheInstallationOrTheBuildPutsIt)
{
    QTemporaryDir root;
    QDir(root.path()).mkpath("libexec/orvanta");
    QFile helper(root.filePath("libexec/orvanta/orvanta-decode"));
    ASSERT_TRUE(helper.open(QIODevice::WriteOnly));
    helper.setPermissions(helper.permissions() | QFileDevice::ExeOwner);

    EXPECT_EQ(decoderHelperPath(root.filePath("bin")), root.filePath("libexec/orvanta/orvanta-decode"));
    QTemporaryDir build;
    EXPECT_EQ(decoderHelperPath(build.path()), build.filePath("orvanta-decode"));
}

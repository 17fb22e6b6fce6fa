#pragma once
// What the program says to the user, in one place: box titles, questions,
// refusals and status texts. A text used by several commands is the same text
// everywhere because it is written once, here.
#include <QString>

namespace msg {
// Box titles.
inline QString errorTitle() { return QStringLiteral("エラー"); }
inline QString confirmTitle() { return QStringLiteral("確認"); }
inline QString warningTitle() { return QStringLiteral("警告"); }

// Files.
inline QString unsavedData() { return QStringLiteral("保存されていないデータがあります。保存しますか？"); }
inline QString cannotOpen(const QString& fileName) { return QStringLiteral("「%1」を開けませんでした。").arg(fileName); }
inline QString alreadyExists(const QString& fileName)
{
    return QStringLiteral("「%1」は既に存在します。上書きしますか？").arg(fileName);
}
inline QString cannotSave(const QString& fileName, const QString& why)
{
    return QStringLiteral("「%1」に保存できませんでした。\n%2").arg(fileName, why);
}
inline QString clipboardUnreadable() { return QStringLiteral("クリップボードの画像を読み込めませんでした。"); }

// Calibration.
inline QString setCoordinatesFirst() { return QStringLiteral("(X1,Y1), (X2,Y2)の座標を設定してください"); }
inline QString earlierCalibrationNotice() { return QStringLiteral("前の画像の座標設定のままです"); }
inline QString earlierCalibrationQuestion() { return QStringLiteral("前の画像の座標設定のままです。\nこの座標設定で続けますか？"); }
inline QString goOn() { return QStringLiteral("続ける"); }
inline QString openCalibration() { return QStringLiteral("座標設定を開く"); }
inline QString sameX() { return QStringLiteral("X1とX2の基準線が同じ位置にあります。基準線を離してください。"); }
inline QString sameY() { return QStringLiteral("Y1とY2の基準線が同じ位置にあります。基準線を離してください。"); }
inline QString logXNotPositive() { return QStringLiteral("X軸が対数ですが、基準値に0以下の値があります。"); }
inline QString logYNotPositive() { return QStringLiteral("Y軸が対数ですが、基準値に0以下の値があります。"); }

// Tools and edits.
inline QString eraserHint() { return QStringLiteral("左クリック：消去、右クリック：サイズ変更"); }
inline QString binarising() { return QStringLiteral("二値化しています"); }
inline QString autoErasing() { return QStringLiteral("オートイレース中です"); }
inline QString pickLineChanged() { return QStringLiteral("最後の点の行が変更されているため、元に戻せません"); }

// Tracing.
inline QString tracing() { return QStringLiteral("トレース中"); }
inline QString noInkAtStart()
{
    return QStringLiteral("開始点の近くに曲線が見つかりません。開始点を曲線の上に置いてください。");
}
inline QString traced(qsizetype points) { return QStringLiteral("%1 点をトレースしました").arg(points); }
inline QString tracedGuessed(qsizetype guessed) { return QStringLiteral("（うち %1 点は推定）").arg(guessed); }
inline QString traceLost() { return QStringLiteral("曲線を見失ったため途中で終了しました："); }

// Projects.
inline QString projectDamaged(const QString& fileName)
{
    return QStringLiteral("「%1」は作業ファイルとして読み込めません。壊れている可能性があります。").arg(fileName);
}
inline QString projectTooNew(const QString& fileName)
{
    return QStringLiteral("「%1」はこのバージョンより新しい形式の作業ファイルです。").arg(fileName);
}
inline QString projectPictureMissing(const QString& fileName)
{
    return QStringLiteral("作業の画像「%1」が見つかりません。").arg(fileName);
}
inline QString projectPictureChanged(const QString& fileName)
{
    return QStringLiteral("画像「%1」は作業を保存したときから変更されています。数値が合わない可能性があります。").arg(fileName);
}
inline QString projectNeedsFile()
{
    return QStringLiteral("ファイルから開いた画像の作業だけを保存できます。画像をファイルに保存して開き直してください。");
}
inline QString projectEarlierPicture()
{
    return QStringLiteral("前の画像に戻した状態は作業として保存できません。やり直してから保存してください。");
}

// A batch run, on standard error.
inline QString fileNotFound(const QString& fileName) { return QStringLiteral("「%1」が見つかりません。").arg(fileName); }
inline QString batchNoOutputFolder() { return QStringLiteral("出力先のフォルダを作成できません。"); }
inline QString batchSameName(const QString& fileName)
{
    return QStringLiteral("出力「%1」は前の画像の結果と同じ名前になるため、作成しませんでした。").arg(fileName);
}
inline QString batchFailures(qsizetype failed, qsizetype total)
{
    return QStringLiteral("%1 枚中 %2 枚を処理できませんでした。").arg(total).arg(failed);
}
} // namespace msg

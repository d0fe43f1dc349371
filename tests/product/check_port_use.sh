#!/usr/bin/env bash
# Only the platform port calls the operating system. No other source of the
# product (ctl/, cardlib/, app/ and the shipped program's entry) includes the
# system headers of ioctl, files, directories, signals, clocks or threads,
# names the C library's FILE streams, the standard streams or the C++ file
# and console streams, or calls the C library's or POSIX's file, process,
# signal, sleep and clock functions directly. Only free calls count: a
# member call (port.Open(, file->Read(, x.write(, Foo::open() goes through
# an object of the program's own, and a declaration (bool open() const) is
# no call. Comments and string literals are not looked at.
#   check_port_use.sh SOURCE_TREE
set -uo pipefail
cd "$1" || exit 2

sources=$(find ctl cardlib app programs -type f \
            \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.inc' \) 2>/dev/null |
          grep -v '^programs/tessvarc_emu' | sort)
[ -z "$sources" ] && exit 0

# shellcheck disable=SC2086
hits=$(perl -e '
  my $headers = qr{sys/[\w/]+\.h|dirent\.h|fcntl\.h|unistd\.h|signal\.h|csignal|ctime|time\.h|poll\.h|termios\.h|
                   fstream|iostream|thread|filesystem}x;
  # The C library and POSIX calls of files, directories, processes, signals,
  # the environment, sleeps and clocks.
  my $calls = qr{open|openat|creat|close|read|write|lseek|pread|pwrite|dup|dup2|pipe|fork|vfork|
                 execl|execlp|execle|execv|execvp|execve|waitpid|ioctl|usleep|sleep|nanosleep|
                 opendir|readdir|closedir|fopen|fdopen|freopen|fclose|fread|fwrite|fseek|fseeko|ftell|ftello|
                 rewind|fgets|fgetc|getc|getchar|gets|fputs|fputc|putc|putchar|puts|printf|fprintf|vprintf|
                 vfprintf|dprintf|perror|fflush|fscanf|scanf|tmpfile|tmpnam|stat|lstat|fstat|access|
                 readlink|symlink|unlink|rename|remove|mkdir|rmdir|chdir|getcwd|ftruncate|
                 time|clock|clock_gettime|gettimeofday|localtime|localtime_r|gmtime|gmtime_r|mktime|
                 signal|sigaction|sigemptyset|raise|kill|alarm|fcntl|mmap|munmap|getpid|getppid|
                 exit|_exit|_Exit|abort|atexit|quick_exit|at_quick_exit|system|getenv|setenv|unsetenv|
                 putenv|popen|pclose|select|poll|isatty}x;
  # The same under their std:: spellings, and its streams,
  # files, clocks and threads.
  my $std = qr{std::(?:fopen|freopen|fclose|fread|fwrite|fseek|ftell|rewind|fgets|fgetc|getc|getchar|fputs|
                      fputc|putc|putchar|puts|printf|fprintf|vprintf|vfprintf|perror|fflush|fscanf|scanf|
                      tmpfile|tmpnam|remove|rename|time|clock|localtime|gmtime|mktime|signal|raise|exit|
                      _Exit|abort|atexit|quick_exit|at_quick_exit|system|getenv|FILE|
                      ifstream|ofstream|fstream|filebuf|cin|cout|cerr|clog|wcin|wcout|wcerr|wclog|
                      this_thread|thread|jthread|filesystem|chrono::\w+_clock|system_clock|steady_clock|
                      high_resolution_clock)\b}x;
  # Words before a name that still make it a call, not a declaration.
  my $keywords = qr{^(?:return|else|throw|case|do|co_return|co_await|not|and|or|new|delete|sizeof)$};
  for my $file (@ARGV) {
    open(my $in, "<", $file) or die "$file: $!\n";
    local $/;
    my $text = <$in>;
    close($in);
    my @original = split /\n/, $text, -1;
    # Comments become nothing (their line breaks stay), string and
    # character literals empty ones.
    $text =~ s{(/\*.*?\*/)|(//[^\n]*)|("(?:\\.|[^"\\\n])*")|(\x27(?:\\.|[^\x27\\\n])*\x27)}{
      defined $1 ? ($1 =~ tr/\n//dcr) : defined $2 ? "" : defined $3 ? "\"\"" : "\x27\x27"
    }gse;
    my @lines = split /\n/, $text, -1;
    for my $i (0 .. $#lines) {
      my $line = $lines[$i];
      my $hit = 0;
      if ($line =~ m{^\s*#\s*include\s*<(?:$headers)>}) {
        $hit = 1;
      } elsif ($line =~ m{$std} || $line =~ m{\b(?:FILE|stdin|stdout|stderr)\b}) {
        $hit = 1;
      } else {
        while ($line =~ m{(?:^|(?<=[^\w.>:~]))(?:(?<![\w>])::)?\b(?:$calls)\s*\(}g) {
          my $before = substr($line, 0, $-[0]);
          # A type (or a name) and blanks before it: a declaration.
          if ($before =~ m{(\w+)[\s*&]+$} && $1 !~ $keywords) { next; }
          $hit = 1;
          last;
        }
      }
      if ($hit) {
        (my $shown = $original[$i]) =~ s/^\s+//;
        print "$file:", $i + 1, ": $shown\n";
      }
    }
  }
' $sources) || { echo "check_port_use.sh: the scan itself failed"; exit 2; }
if [ -n "$hits" ]; then
  echo "direct platform calls outside os/:"
  echo "$hits"
  exit 1
fi
exit 0

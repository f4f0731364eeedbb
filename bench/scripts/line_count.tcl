set n 0
set f [open dados.txt r]
while {[gets $f line] >= 0} {
  if {[string first agulha $line] >= 0} { incr n }
}
close $f
puts $n

set t ""
set k "abc"
set p 0
for {set i 1} {$i <= 100000} {incr i} {
  incr p
  if {$p > 3} { set p 1 }
  append t [string index $k [expr {$p - 1}]]
}
set t [string map {a bb} $t]
puts [string length $t]
